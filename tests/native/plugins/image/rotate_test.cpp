// Rotate: quarter turns against pamflip and vips at every depth, free
// rotations by hand-computed pixels (there is no exact referee), the
// dispatch of the angle and the depths of the result.
#include <math.h>

#include <set>

#include "image_strings.h"
#include "image_test_support.h"

namespace {

struct Rotate : ScratchTest {};

ImgRotateParams turn(int angle, int quality = IMG_QUALITY_LOW) {
    ImgRotateParams p = {angle, quality, {0, 0x10, 0x20, 0x30}};
    return p;
}

Pixels rotated(HGLOBAL dib, int angle, int quality = IMG_QUALITY_LOW, const ImgProgress *progress = nullptr) {
    ImgRotateParams p = turn(angle, quality);
    return result_of([&](HGLOBAL *o) { return img_rotate(dib, &p, progress, o); });
}

TEST_F(Rotate, QuarterTurnsAreThoseOfPamflipAndVips) {
    SKIP_WITHOUT("pamflip");
    bool vips = have_program("vips");
    for (int bpp : kDepths)
        for (int w : {1, 7, 13}) {
            HGLOBAL dib = noise_dib(w, 5, bpp);
            Pixels src = pixels_of(dib);
            struct Case {
                int angle;
                const char *pam, *vips;
            } cases[] = {{90, "-cw", "d90"}, {-90, "-ccw", "d270"}, {180, "-r180", "d180"}, {270, "-ccw", "d270"}};
            for (const Case &c : cases) {
                Pixels ours = rotated(dib, c.angle);
                EXPECT_EQ(ours.bpp, bpp);
                EXPECT_TRUE(picture_of(ours) == peer(dir, src, std::string("pamflip ") + c.pam + " {in} > {out}"))
                    << bpp << " " << w << " by " << c.angle;
                if (vips) {
                    EXPECT_TRUE(picture_of(ours) == peer(dir, src, std::string("vips rot {in} {out} ") + c.vips))
                        << bpp << " " << w << " by " << c.angle;
                }
            }
            GlobalFree(dib);
        }
}

TEST_F(Rotate, WholeTurnsChangeNothing) {
    HGLOBAL dib = noise_dib(4, 3, 8), out = (HGLOBAL)1;
    for (int a : {0, 360, -360}) {
        ImgRotateParams p = turn(a);
        EXPECT_EQ(img_rotate(dib, &p, nullptr, &out), IMG_UNCHANGED);
        EXPECT_EQ(out, nullptr);
    }
    ImgRotateParams far = turn(361);
    EXPECT_EQ(img_rotate(dib, &far, nullptr, &out), IMG_BAD_PARAMS);
    EXPECT_EQ(img_text(img_message_id(IMG_OP_ROTATE, IMG_BAD_PARAMS)), "Enter an amount between -360 and 360 degrees");
    GlobalFree(dib);
}

// By the text's tables for 3 x 3 at 45 degrees (cos = -sin = 0.7071 for
// the resampler's 315): c1 = c2 = {-1, 0, 1}, s1 = s2 = {1, 0, -1}, so
// output (x, y) takes column ((c1[x] + s2[y]) >> 1) + 1 and row
// ((c2[y] - s1[x]) >> 1) + 1, rows counted from the bottom.
TEST_F(Rotate, FreeRotationAtLowQualityTakesTheTextsPixels) {
    // Index 10 * stored row + column; the table spreads them apart.
    HGLOBAL dib = make_dib(3, 3, 8, 256, [](int x, int y) { return (unsigned)(10 * (2 - y) + x); });
    HGLOBAL out = NULL;
    ImgRotateParams p = turn(45);
    ASSERT_EQ(img_rotate(dib, &p, nullptr, &out), IMG_OK);
    Pixels r = pixels_of(out);
    ASSERT_EQ(r.width, 3);
    ASSERT_EQ(r.height, 3);
    // Top-down: stored rows 2, 1, 0.
    std::vector<unsigned char> expect = {10, 10, 21, 0, 11, 11, 1, 1, 12};
    EXPECT_EQ(r.index, expect);
    EXPECT_EQ(r.bpp, 8);
    GlobalFree(out);
    GlobalFree(dib);
}

// The same geometry for 2 x 2: every sample of a pixel falls on the same
// source pixel, and (2, 1) and (1, 2) lie outside.
TEST_F(Rotate, FreeRotationAtHighQualityAveragesFourSamplesWithTheBackground) {
    HGLOBAL dib = make_dib(2, 2, 24, 0, [](int x, int y) { return 0x100000u * (1 + x + 2 * (1 - y)); });
    ProgressLog log;
    ImgProgress prog = log.record();
    Pixels r = rotated(dib, 45, IMG_QUALITY_HIGH, &prog);
    ASSERT_EQ(r.width, 3);
    // Source (col, stored row) -> red 0x10 * (1 + col + 2 row); background red 0x30.
    std::vector<unsigned char> red;
    for (size_t i = 0; i < r.rgb.size(); i += 3) red.push_back(r.rgb[i]);
    std::vector<unsigned char> expect = {0x30, 0x30, 0x30, 0x10, 0x40, 0x40, 0x20, 0x20, 0x30};
    EXPECT_EQ(red, expect);
    EXPECT_EQ(log.caption, (UINT)IDS_IMG_HQ_ROTATION);
    EXPECT_EQ(log.steps, expected_steps(3));
    GlobalFree(dib);

    // A plain image: edge pixels mix 1 to 3 of the 4 samples with the background.
    dib = make_dib(20, 20, 24, 0, [](int, int) { return 0xC80000u; });
    ImgRotateParams black = {30, IMG_QUALITY_HIGH, {0, 0, 0, 0}};
    Pixels plain = result_of([&](HGLOBAL *o) { return img_rotate(dib, &black, nullptr, o); });
    std::set<int> reds;
    for (size_t i = 0; i < plain.rgb.size(); i += 3) reds.insert(plain.rgb[i]);
    EXPECT_EQ(reds, (std::set<int>{0, 50, 100, 150, 200}));
    GlobalFree(dib);
}

TEST_F(Rotate, FreeRotationCanvasAndDepths) {
    HGLOBAL square = noise_dib(100, 100, 24);
    Pixels r = rotated(square, 45);
    EXPECT_EQ(r.width, 141);
    EXPECT_EQ(r.height, 141);
    EXPECT_EQ(r.rgb[0], 0x30) << "corners take the background";
    EXPECT_EQ(r.rgb[r.rgb.size() - 1], 0x10);
    GlobalFree(square);

    HGLOBAL gray = noise_dib(9, 7, 1);  // black and white table
    EXPECT_EQ(rotated(gray, 30).bpp, 1);
    Pixels g = rotated(gray, 30, IMG_QUALITY_HIGH);
    EXPECT_EQ(g.bpp, 8);
    EXPECT_EQ(g.table[77].rgbGreen, 77);
    GlobalFree(gray);
    HGLOBAL colored = make_dib(9, 7, 1, 2, [](int x, int) { return (unsigned)x & 1; }, [](unsigned i) { return i ? 0xFF0000u : 0x0000FFu; });
    EXPECT_EQ(rotated(colored, 30, IMG_QUALITY_HIGH).bpp, 24);
    GlobalFree(colored);
}

// The text's mapping sample by sample, done the slow way: the interior
// runs, their clipping and the offset tables must give the same pixels.
TEST_F(Rotate, HighQualityRunsAgreeWithTheTextsMapping) {
    for (int bpp : {24, 32, 8})
        for (int angle : {30, -75, 123, 359}) {
            HGLOBAL dib = noise_dib(37, 23, bpp);
            Pixels src = pixels_of(dib), r = rotated(dib, angle, IMG_QUALITY_HIGH);
            double theta = (angle < 0 ? -angle : 360 - angle) / 360.0 * 2 * 3.14159265, c = cos(theta), s = sin(theta);
            auto t = [](double v) { return (int)v; };
            BYTE bg[3] = {0x30, 0x20, 0x10};
            if (bpp == 8) bg[0] = src.table[0].rgbRed, bg[1] = src.table[0].rgbGreen, bg[2] = src.table[0].rgbBlue;
            for (int y = 0; y < r.height; y++)
                for (int x = 0; x < r.width; x++) {
                    int stored = r.height - 1 - y, sum[3] = {0, 0, 0};
                    for (double oy : {0.25, 0.75})
                        for (double ox : {0.25, 0.75}) {
                            double dx = x - r.width / 2.0 + ox, dy = stored - r.height / 2.0 + oy;
                            int col = ((t(2 * c * dx) + t(2 * s * dy)) >> 1) + 37 / 2;
                            int row = ((t(2 * c * dy) - t(2 * s * dx)) >> 1) + 23 / 2;
                            const BYTE *p = col >= 0 && col < 37 && row >= 0 && row < 23
                                                ? &src.rgb[((size_t)(22 - row) * 37 + col) * 3]
                                                : bg;
                            for (int k = 0; k < 3; k++) sum[k] += p[k];
                        }
                    for (int k = 0; k < 3; k++)
                        ASSERT_EQ(r.rgb[((size_t)y * r.width + x) * 3 + k], sum[k] >> 2)
                            << bpp << " bits by " << angle << " at " << x << "," << y;
                }
            GlobalFree(dib);
        }
}

// The text left the fourth byte of the background undefined.
TEST_F(Rotate, ThirtyTwoBitBackgroundIsTransparent) {
    HGLOBAL dib = noise_dib(10, 10, 32);
    for (int q : {IMG_QUALITY_LOW, IMG_QUALITY_HIGH}) {
        Pixels r = rotated(dib, 30, q);
        EXPECT_EQ(r.bpp, 32);
        EXPECT_EQ(r.alpha[0], 0) << q;
        EXPECT_EQ(r.alpha[(size_t)(r.height / 2) * r.width + r.width / 2], 0x80) << "the image keeps its own";
    }
    GlobalFree(dib);
}

}  // namespace
