// Mask: the shapes as our player draws them, the fill rules, the
// coverage read by value with the image's table kept, the 32-bit
// switches, and the color choices of the operations.
#include "image_test_support.h"
#include "polygon_fill.h"

namespace {

struct Mask : CoreTest {};

Pixels coverage_of(UINT id, LONG w, LONG h) {
    return result_of([&](HGLOBAL *o) { return img_mask_shape_coverage(id, w, h, o); });
}

bool inside(const Pixels &c, int x, int y) { return c.index[(size_t)y * c.width + x] == 0; }

TEST_F(Mask, EveryShapeIsAStandardMetafileThatPaintsSomething) {
    for (UINT id = 100; id <= 116; id++) {
        size_t size = 0;
        const BYTE *m = img_mask_shape(id, &size);
        ASSERT_NE(m, nullptr);
        ASSERT_GT(size, 18u);
        EXPECT_EQ(m[0] | m[1] << 8, 1);  // memory metafile
        EXPECT_EQ(m[2] | m[3] << 8, 9);  // header words
        EXPECT_EQ(m[4] | m[5] << 8, 0x0300);
        EXPECT_EQ((size_t)(m[6] | m[7] << 8 | m[8] << 16) * 2, size) << "mtSize counts words";
        Pixels c = coverage_of(id, 64, 48);
        size_t in = 0;
        for (BYTE v : c.index) in += v == 0;
        EXPECT_GT(in, 64u * 48 / 10) << id;
        EXPECT_LT(in, 64u * 48) << id;
    }
    size_t size;
    EXPECT_EQ(img_mask_shape(99, &size), nullptr);
    EXPECT_EQ(img_mask_shape(117, &size), nullptr);
}

TEST_F(Mask, CircleKeepsACentredDiscAndStretchesWithTheImage) {
    Pixels c = coverage_of(101, 40, 20);
    EXPECT_TRUE(inside(c, 20, 10));
    EXPECT_TRUE(inside(c, 1, 10)) << "an ellipse on a wide image";
    for (auto [x, y] : {std::make_pair(0, 0), std::make_pair(39, 0), std::make_pair(0, 19), std::make_pair(39, 19)})
        EXPECT_FALSE(inside(c, x, y)) << x << "," << y;
    // The down arrow points down as displayed: its tip is in the bottom row.
    Pixels a = coverage_of(105, 21, 21);
    EXPECT_TRUE(inside(a, 10, 20));
    EXPECT_FALSE(inside(a, 1, 20));
    EXPECT_TRUE(inside(a, 10, 0));
}

// The star is a pentagram drawn tip to second tip: its centre is covered
// twice, filled by the winding rule and left empty by the even-odd rule.
TEST_F(Mask, FillModesDecideTheCentreOfAPentagram) {
    size_t size;
    const BYTE *star = img_mask_shape(114, &size);
    std::vector<BYTE> bytes(star, star + size);
    BYTE canvas[50 * 52];
    ImgRaster r = {canvas, 52, 50, 50};
    auto centre = [&](int mode) {
        for (size_t at = 18; at + 6 <= bytes.size(); at += 2 * (bytes[at] | bytes[at + 1] << 8))
            if ((bytes[at + 4] | bytes[at + 5] << 8) == 0x0106) bytes[at + 6] = (BYTE)mode;
        memset(canvas, 255, sizeof canvas);
        EXPECT_EQ(img_metafile_play(bytes.data(), bytes.size(), &r), 1);
        return canvas[25 * 52 + 25];
    };
    EXPECT_EQ(centre(IMG_FILL_WINDING), 0);
    EXPECT_EQ(centre(IMG_FILL_ALTERNATE), 255);
}

TEST_F(Mask, DamagedMetafilesDrawWhatIsWhole) {
    size_t size;
    const BYTE *circle = img_mask_shape(101, &size);
    BYTE canvas[16 * 16];
    ImgRaster r = {canvas, 16, 16, 16};
    for (size_t cut = 0; cut < size; cut += 7) {
        std::vector<BYTE> part(circle, circle + cut);  // exactly the bytes, for the sanitizers
        img_metafile_play(part.data(), part.size(), &r);
    }
    std::vector<BYTE> claims(circle, circle + size);
    claims[18] = 0xFF;  // the first record claims more than there is
    EXPECT_EQ(img_metafile_play(claims.data(), claims.size(), &r), 1);
    EXPECT_EQ(img_metafile_play(circle, 17, &r), 0);
}

TEST_F(Mask, PaintsOutsideTheShapeAndKeepsTheTable) {
    // No entry is black: reading the shape back at this depth mapped black
    // to some entry and took the shape's table.
    HGLOBAL dib = make_dib(30, 30, 4, 16, [](int x, int) { return (unsigned)x % 5 + 3; },
                           [](unsigned i) { return 0x203040u + i * 0x050505u; });
    HGLOBAL cov = NULL, out = NULL;
    ASSERT_EQ(img_mask_shape_coverage(101, 30, 30, &cov), IMG_OK);
    ImgMaskParams p = {0, 1, 1, {14, 0, 0, 0}};
    ASSERT_EQ(img_mask(dib, cov, &p, &out), IMG_OK);
    Pixels before = pixels_of(dib), after = pixels_of(out);
    EXPECT_TRUE(same_table(before.table, after.table, 16));
    EXPECT_EQ(after.index[15 * 30 + 15], before.index[15 * 30 + 15]);
    EXPECT_EQ(after.index[0], 14);
    GlobalFree(out);
    p.invert = 1;
    ASSERT_EQ(img_mask(dib, cov, &p, &out), IMG_OK);
    Pixels inverted = pixels_of(out);
    EXPECT_EQ(inverted.index[15 * 30 + 15], 14);
    EXPECT_EQ(inverted.index[0], before.index[0]);
    GlobalFree(out);
    EXPECT_EQ(img_mask(dib, NULL, &p, &out), IMG_UNCHANGED) << "no shape changes nothing";
    HGLOBAL small = noise_dib(29, 30, 8);
    EXPECT_EQ(img_mask(dib, small, &p, &out), IMG_BAD_PARAMS);
    for (HGLOBAL h : {dib, cov, small}) GlobalFree(h);
}

TEST_F(Mask, ThirtyTwoBitSwitchesAndOneBitCoverage) {
    HGLOBAL dib = make_dib(8, 1, 32, 0, [](int, int) { return 0x112233u; });
    HGLOBAL cov = make_dib(8, 1, 1, 2, [](int x, int) { return x < 4 ? 0u : 1u; }, true), out = NULL;
    for (int alpha = 0; alpha < 2; alpha++)
        for (int color = 0; color < 2; color++) {
            ImgMaskParams p = {0, alpha, color, {0, 0xAA, 0xBB, 0xCC}};
            Pixels r = result_of([&](HGLOBAL *o) { return img_mask(dib, cov, &p, o); });
            EXPECT_EQ(r.rgb[0], 0x11) << "inside kept";
            EXPECT_EQ(r.rgb[7 * 3], color ? 0xCC : 0x11);
            EXPECT_EQ(r.alpha[7], alpha ? 255 : 0x80);
        }
    (void)out;
    GlobalFree(dib);
    GlobalFree(cov);
}

// The 1-bit color choice read black and white from the index, not from
// the table; the gray test asked for bit number 4, not the flag 0x4.
TEST_F(Mask, ColorChoicesReadTheImagesOwnTable) {
    HGLOBAL mono = make_dib(4, 1, 1, 2, [](int, int) { return 0u; }, [](unsigned i) { return i ? 0x0000FFu : 0xFF0000u; });
    ImgColor c = {0, 0, 0, 0};
    ASSERT_TRUE(img_toggle_mono_color(mono, &c));
    EXPECT_EQ(c.index, 1u);
    EXPECT_EQ(c.blue, 0xFF);
    EXPECT_EQ(c.red, 0);
    ASSERT_TRUE(img_toggle_mono_color(mono, &c));
    EXPECT_EQ(c.index, 0u);
    EXPECT_EQ(c.red, 0xFF);
    ImgColor far = {9, 1, 2, 3};
    img_color_from_table(mono, &far);
    EXPECT_EQ(far.index, 0u) << "an index past the table becomes 0";
    ImgColor near = {0, 0xF0, 0x10, 0x00};
    img_color_nearest(mono, &near);
    EXPECT_EQ(near.index, 1u);
    GlobalFree(mono);

    static std::vector<UINT> asked;
    auto flags = [](void *, UINT bit) -> int {
        asked.push_back(bit);
        return 0;
    };
    EXPECT_TRUE(img_window_gray(8, flags, nullptr));
    EXPECT_FALSE(img_window_gray(24, flags, nullptr)) << "24 and 32 bits are never gray";
    EXPECT_EQ(asked, std::vector<UINT>{0x4});
}

}  // namespace
