// Scale: the weights of the text by hand, the dialog's unit rules, the
// faults (unchecked sizes, the hanging read-back, the enlarge overflow
// from 4,106 pixels), and the peers: ImageMagick -sample for low quality,
// pamscale within 1 for a high-quality shrink.
#include <stdlib.h>

#include "image_dialogs.h"
#include "image_strings.h"
#include "image_test_support.h"

namespace {

struct Scale : ScratchTest {};

HGLOBAL row_of(std::vector<unsigned> values, int bpp = 24) {
    return make_dib((int)values.size(), 1, bpp, 0, [&](int x, int) { return values[x]; });
}

Pixels scaled(HGLOBAL dib, LONG w, LONG h, int quality = IMG_QUALITY_HIGH, int gray = 0) {
    ImgScaleParams p = {w, h, quality, gray};
    return result_of([&](HGLOBAL *o) { return img_scale(dib, &p, nullptr, o); });
}

TEST_F(Scale, HighQualityWeightsAreTheTextsOwn) {
    // 3 to 2: (2, 1) and (1, 2) over 3; 2 to 3: a, (a + b) / 2, b.
    HGLOBAL three = row_of({0x000000, 0x000030, 0x0000FF});
    Pixels s = scaled(three, 2, 1);
    EXPECT_EQ(s.rgb[2], (2 * 0x00 + 0x30) / 3);
    EXPECT_EQ(s.rgb[5], (0x30 + 2 * 0xFF) / 3);
    HGLOBAL two = row_of({0x000010, 0x0000FF});
    Pixels e = scaled(two, 3, 1);
    EXPECT_EQ(e.rgb[2], 0x10);
    EXPECT_EQ(e.rgb[5], (0x10 + 0xFF) / 2);
    EXPECT_EQ(e.rgb[8], 0xFF);
    // 100 x 100 to 50 x 100 averages pairs, truncated.
    HGLOBAL square = noise_dib(100, 100, 24);
    Pixels a = pixels_of(square), b = scaled(square, 50, 100);
    for (int y = 0; y < 100; y++)
        for (int k = 0; k < 50; k++)
            for (int c = 0; c < 3; c++)
                ASSERT_EQ(b.rgb[(y * 50 + k) * 3 + c],
                          (a.rgb[(y * 100 + 2 * k) * 3 + c] + a.rgb[(y * 100 + 2 * k + 1) * 3 + c]) / 2);
    for (HGLOBAL h : {three, two, square}) GlobalFree(h);
}

TEST_F(Scale, HighQualityDepthsAndGray) {
    HGLOBAL gray = make_dib(6, 4, 4, 16, [](int x, int y) { return (unsigned)(x + y) & 15; }, true);
    Pixels g = scaled(gray, 3, 2, IMG_QUALITY_HIGH, 1);
    EXPECT_EQ(g.bpp, 8);
    EXPECT_EQ(g.table.size(), 256u);
    EXPECT_EQ(g.table[200].rgbRed, 200);
    EXPECT_EQ(scaled(gray, 3, 2).bpp, 24) << "a color window takes the color path";
    HGLOBAL alpha = make_dib(4, 2, 32, 0, [](int x, int) { return x * 0x10u; });
    {
        LockedDib l(alpha);
        for (int i = 0; i < 8; i++) l.bits[i * 4 + 3] = (BYTE)(i * 30);
    }
    Pixels a = scaled(alpha, 2, 1);
    EXPECT_EQ(a.bpp, 32);
    EXPECT_EQ(a.alpha[0], (0 + 30 + 120 + 150) / 4) << "the fourth byte is averaged too";
    GlobalFree(gray);
    GlobalFree(alpha);
}

TEST_F(Scale, ProgressNamesThePass) {
    HGLOBAL dib = noise_dib(20, 20, 24);
    struct Case {
        LONG w, h;
        UINT caption;
    } cases[] = {{10, 20, IDS_IMG_HQ_HORIZONTAL}, {20, 35, IDS_IMG_HQ_VERTICAL}, {7, 33, IDS_IMG_HQ_SCALING}};
    for (const Case &c : cases) {
        ProgressLog log;
        ImgProgress p = log.record();
        ImgScaleParams s = {c.w, c.h, IMG_QUALITY_HIGH, 0};
        HGLOBAL out = NULL;
        ASSERT_EQ(img_scale(dib, &s, &p, &out), IMG_OK);
        EXPECT_EQ(log.caption, c.caption);
        EXPECT_EQ(log.steps, expected_steps(c.h));
        GlobalFree(out);
    }
    GlobalFree(dib);
}

// Squared weights reach (w - 1)^2: in 32 bits the blend overflowed here.
TEST_F(Scale, EnlargingPastFourThousandPixelsBlendsExactly) {
    HGLOBAL two = row_of({0x000000, 0x0000FF});
    Pixels e = scaled(two, 5000, 1);
    // Output k blends with A = (4999 - k)^2 and B = k^2.
    for (uint64_t k : {2500ull, 4990ull}) {
        uint64_t A = (4999 - k) * (4999 - k), B = k * k;
        EXPECT_EQ(e.rgb[k * 3 + 2], 255 * B / (A + B)) << k;
    }
    HGLOBAL column = make_dib(1, 2, 8, 2, [](int, int y) { return (unsigned)(1 - y); }, true);
    Pixels v = scaled(column, 1, 4500, IMG_QUALITY_HIGH, 1);
    uint64_t k = 4490, A = (4499 - k) * (4499 - k), B = k * k;
    EXPECT_EQ(v.index[4499 - k], 255 * B / (A + B)) << "rows count from the bottom";
    GlobalFree(two);
    GlobalFree(column);
}

TEST_F(Scale, SizesAreCheckedBeforeAnythingIsAllocated) {
    HGLOBAL dib = noise_dib(5, 5, 24), out = NULL;
    for (int q : {IMG_QUALITY_LOW, IMG_QUALITY_HIGH}) {
        ImgScaleParams zero = {0, 5, q, 0}, negative = {-3, 5, q, 0}, huge = {IMG_MAX_SIDE + 1, 5, q, 0},
                       wide = {IMG_MAX_SIDE, 0x7FFFFFFF, q, 0}, same = {5, 5, q, 0};
        EXPECT_EQ(img_scale(dib, &zero, nullptr, &out), IMG_BAD_PARAMS);
        EXPECT_EQ(img_scale(dib, &negative, nullptr, &out), IMG_BAD_PARAMS);
        EXPECT_EQ(img_scale(dib, &huge, nullptr, &out), IMG_NO_MEMORY);
        EXPECT_EQ(img_scale(dib, &wide, nullptr, &out), IMG_NO_MEMORY);
        EXPECT_EQ(img_scale(dib, &same, nullptr, &out), IMG_UNCHANGED);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(img_text(img_message_id(IMG_OP_SCALE, IMG_NO_MEMORY)), "Not enough memory to scale image");
    EXPECT_EQ(img_text(img_message_id(IMG_OP_SCALE, IMG_BAD_PARAMS)), "Cannot enter 0 for width or height");
    GlobalFree(dib);
}

TEST_F(Scale, DialogUnitsFollowTheText) {
    EXPECT_EQ(img_scale_from_percent(10, 33), 4u);
    EXPECT_EQ(img_scale_percent_of(4, 10), 40u);
    // new * 100 overflowed 32 bits and the read-back loop never ended.
    EXPECT_EQ(img_scale_from_percent(0xFFFFFFFFu, 200), 0u);
    EXPECT_EQ(img_scale_from_percent(0, 50), 0u);
    EXPECT_EQ(img_scale_follow_aspect(1, 3, 2), 1u);
    EXPECT_EQ(img_scale_follow_aspect(0x7FFFFFFF, 1, 0x7FFFFFFF), 0u);
    EXPECT_EQ(img_scale_from_length(1.000, IMG_UNITS_INCHES, 96, 1), 96u);
    EXPECT_EQ(img_scale_from_length(1.000, IMG_UNITS_INCHES, 96, 0), 96u);
    EXPECT_EQ(img_scale_from_length(1.041, IMG_UNITS_INCHES, 96, 1), 100u);
    EXPECT_EQ(img_scale_from_length(1.041, IMG_UNITS_INCHES, 96, 0), 99u);
    EXPECT_EQ(img_scale_from_length(-1, IMG_UNITS_INCHES, 96, 0), 0u);
    char text[32];
    img_scale_format(100, 10, IMG_UNITS_INCHES, 96, text, sizeof text);
    EXPECT_STREQ(text, "1.041");
    img_scale_format(100, 10, IMG_UNITS_CENTIMETERS, 96, text, sizeof text);
    EXPECT_STREQ(text, "2.812");
    img_scale_format(4, 10, IMG_UNITS_PERCENT, 96, text, sizeof text);
    EXPECT_STREQ(text, "40");
}

TEST_F(Scale, LowQualityIsExactlyImageMagicksSample) {
    SKIP_WITHOUT("convert");
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(36, 22, bpp);
        Pixels src = pixels_of(dib);
        // Rows are picked from the bottom: the peer works on the flipped
        // image.  It takes the pixel nearest to each centre, which is ours
        // (floor of x * W / w) at half size and at whole enlargements.
        for (auto [w, h] : {std::make_pair(18, 11), std::make_pair(72, 44), std::make_pair(108, 66)}) {
            Pixels ours = scaled(dib, w, h, IMG_QUALITY_LOW);
            EXPECT_EQ(ours.bpp, bpp);
            std::string size = std::to_string(w) + "x" + std::to_string(h) + "!";
            Picture theirs = peer(dir, src, "convert {in} -flip -sample " + size + " -flip {out}");
            EXPECT_TRUE(picture_of(ours) == theirs) << bpp << " to " << size;
        }
        GlobalFree(dib);
    }
}

// pamscale mixes pixels by area too (in the values as given, -linear) and
// rounds; each of our passes truncates, so a shrink of both sides, which
// truncates twice, may be 2 below.
TEST_F(Scale, HighQualityShrinkIsWithinOneOfPamscale) {
    SKIP_WITHOUT("pamscale");
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(41, 29, bpp);
        Pixels src = pixels_of(dib);
        for (auto [w, h, within] : {std::make_tuple(17, 29, 1), std::make_tuple(41, 12, 1), std::make_tuple(17, 12, 2)}) {
            Pixels ours = scaled(dib, w, h);
            Picture theirs = peer(dir, src, "pamflip -tb {in} | pamscale -linear -width " + std::to_string(w) +
                                                " -height " + std::to_string(h) + " | pamflip -tb > {out}");
            ASSERT_EQ(theirs.rgb.size(), ours.rgb.size()) << bpp;
            for (size_t i = 0; i < ours.rgb.size(); i++)
                EXPECT_LE(abs(ours.rgb[i] - theirs.rgb[i]), within) << bpp << " at " << i << " to " << w << "x" << h;
        }
        GlobalFree(dib);
    }
}

}  // namespace
