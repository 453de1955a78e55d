// Frame and tile: pnmpad and pnmtile (and vips replicate) as referees,
// the outline and the mirrored tiles by hand, and the wrapping 16-bit
// sizes and counts of the text.
#include "image_dialogs.h"
#include "image_strings.h"
#include "image_test_support.h"

namespace {

struct FrameTile : ScratchTest {};

ImgFrameParams margins(DWORD l, DWORD t, DWORD r, DWORD b, int style = IMG_FRAME_FILLED) {
    ImgFrameParams p = {l, t, r, b, style, {0, 0, 0, 0}, {1, 0xFF, 0xFF, 0xFF}};
    return p;
}

TEST_F(FrameTile, FilledFrameIsPnmpadsBlackPadding) {
    SKIP_WITHOUT("pnmpad");
    for (int bpp : kDepths)
        for (DWORD left : {0u, 1u, 3u, 8u}) {
            // Entry 0 is black at 1 bit; give the others a black entry 0 too.
            HGLOBAL dib = bpp == 1 ? noise_dib(11, 4, 1)
                                   : make_dib(11, 4, bpp, bpp <= 8 ? 1 << bpp : 0,
                                              [bpp](int x, int y) { return noise(x, y) & (bpp <= 8 ? (1u << bpp) - 1 : 0xFFFFFF); },
                                              [](unsigned i) { return i ? 0x102030u * i : 0u; });
            ImgFrameParams p = margins(left, 2, 5, 1);
            Pixels ours = result_of([&](HGLOBAL *o) { return img_frame(dib, &p, o); });
            EXPECT_EQ(ours.bpp, bpp);
            Picture theirs = peer(dir, pixels_of(dib),
                                  "pnmpad -black -left " + std::to_string(left) + " -top 2 -right 5 -bottom 1 {in} > {out}");
            EXPECT_TRUE(picture_of(ours) == theirs) << bpp << " left " << left;
            p.style = IMG_FRAME_OUTLINE;
            Pixels outlined = result_of([&](HGLOBAL *o) { return img_frame(dib, &p, o); });
            ASSERT_EQ(img_frame_in_place(&dib, &p), IMG_OK);
            EXPECT_EQ(pixels_of(dib).rgb, outlined.rgb) << "in place, " << bpp << " left " << left;
            GlobalFree(dib);
        }
}

TEST_F(FrameTile, OutlineIsOnePixelRoundTheCanvas) {
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(5, 3, bpp);
        ImgFrameParams p = margins(2, 2, 2, 2, IMG_FRAME_OUTLINE);
        Pixels f = result_of([&](HGLOBAL *o) { return img_frame(dib, &p, o); });
        Pixels src = pixels_of(dib);
        ASSERT_EQ(f.width, 9);
        ASSERT_EQ(f.height, 7);
        auto at = [&](int x, int y) { return f.rgb[(size_t)(y * 9 + x) * 3]; };
        BYTE outline = bpp <= 8 ? src.table[1].rgbRed : 0xFF;
        BYTE fill = bpp <= 8 ? src.table[0].rgbRed : 0;
        EXPECT_EQ(at(0, 0), outline) << bpp;
        EXPECT_EQ(at(8, 3), outline) << bpp;
        EXPECT_EQ(at(4, 6), outline) << bpp;
        EXPECT_EQ(at(1, 1), fill) << bpp;
        EXPECT_EQ(at(2, 2), src.rgb[0]) << bpp;
        if (bpp == 32) {
            EXPECT_EQ(f.alpha[0], 0) << "the canvas's fourth byte is 0";
        }
        GlobalFree(dib);
    }
    DWORD left, right;
    img_frame_margins(100, 101, &left, &right);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(right, 1u);
}

// Margins and their sums were 16 bits: a canvas narrower than the copy.
TEST_F(FrameTile, MarginsBeyondSixteenBitsMakeTheFullCanvas) {
    HGLOBAL dib = noise_dib(3, 2, 1), out = NULL;
    ImgFrameParams p = margins(70000, 0, 1, 0);
    ASSERT_EQ(img_frame(dib, &p, &out), IMG_OK);
    {
        LockedDib l(out);
        EXPECT_EQ(l.bi->biWidth, 70004);
    }
    GlobalFree(out);
    ImgFrameParams huge = margins(0xFFFFFFFFu, 0, 0xFFFFFFFFu, 0), none = margins(0, 0, 0, 0);
    EXPECT_EQ(img_frame(dib, &huge, &out), IMG_NO_MEMORY);
    EXPECT_EQ(img_text(img_message_id(IMG_OP_FRAME, IMG_NO_MEMORY)), "Frame: Not enough memory to frame image");
    EXPECT_EQ(img_frame(dib, &none, &out), IMG_UNCHANGED);
    GlobalFree(dib);
}

TEST_F(FrameTile, PlainTilesArePnmtilesAndVipsReplicate) {
    SKIP_WITHOUT("pnmtile");
    bool vips = have_program("vips");
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(7, 3, bpp);
        Pixels src = pixels_of(dib);
        ImgTileParams p = {3, 2, 0};
        Pixels ours = result_of([&](HGLOBAL *o) { return img_tile(dib, &p, o); });
        EXPECT_EQ(ours.bpp, bpp);
        EXPECT_TRUE(picture_of(ours) == peer(dir, src, "pnmtile 21 6 {in} > {out}")) << bpp;
        if (vips) {
            EXPECT_TRUE(picture_of(ours) == peer(dir, src, "vips replicate {in} {out} 3 2")) << bpp;
        }
        GlobalFree(dib);
    }
}

TEST_F(FrameTile, MirroredTilesKeepTheTopLeftUpright) {
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(5, 3, bpp);
        Pixels src = pixels_of(dib);
        ImgTileParams p = {3, 3, 1};
        Pixels t = result_of([&](HGLOBAL *o) { return img_tile(dib, &p, o); });
        for (int y = 0; y < 9; y++)
            for (int x = 0; x < 15; x++) {
                int tx = x / 5, ty = y / 3, sx = x % 5, sy = y % 3;
                if (tx & 1) sx = 4 - sx;
                if (ty & 1) sy = 2 - sy;
                ASSERT_EQ(0, memcmp(&t.rgb[(size_t)(y * 15 + x) * 3], &src.rgb[(size_t)(sy * 5 + sx) * 3], 3))
                    << bpp << " at " << x << "," << y;
            }
        GlobalFree(dib);
    }
}

// Counts were 16 bits and checked for digits only; across x width wrapped.
TEST_F(FrameTile, TileCountsAndSizesAreCheckedBeforeUse) {
    HGLOBAL wide = noise_dib(20000, 1, 1), wrap = noise_dib(32768, 1, 1), out = NULL;
    ImgTileParams two = {2, 1, 0}, one = {1, 1, 1}, none = {0, 3, 0};
    EXPECT_EQ(img_tile(wide, &two, &out), IMG_BAD_PARAMS);
    EXPECT_EQ(img_tile(wrap, &two, &out), IMG_BAD_PARAMS) << "65,536 is 0 in 16 bits";
    EXPECT_EQ(img_tile(wide, &one, &out), IMG_UNCHANGED);
    EXPECT_EQ(img_tile(wide, &none, &out), IMG_BAD_PARAMS);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(img_text(img_message_id(IMG_OP_TILE, IMG_BAD_PARAMS)), "Tile: Dimensions too large, cannot create new image");
    DWORD n = 7;
    EXPECT_EQ(img_tile_count_parse("70000", &n), 0);
    EXPECT_EQ(img_tile_count_parse("65538", &n), 0) << "2 in 16 bits";
    EXPECT_EQ(img_tile_count_parse("0", &n), 0);
    EXPECT_EQ(img_tile_count_parse("-2", &n), 0);
    EXPECT_EQ(n, 7u);
    EXPECT_EQ(img_tile_count_parse("32766", &n), 1);
    EXPECT_EQ(n, 32766u);
    GlobalFree(wide);
    GlobalFree(wrap);
}

}  // namespace
