// Invert, flip, mirror and crop: the edge cases of the text, the faults it
// had (16-bit counters, the lost pixel of an odd 4-bit mirror, crop reads
// past the row, stride from biSizeImage / height) and the messages.
#include "image_dialogs.h"
#include "image_strings.h"
#include "image_test_support.h"

namespace {

struct Reshape : CoreTest {};

// Expected pixel (x, y from the top) of a reshaped picture.
template <class Map>
void expect_moved(const Pixels &from, const Pixels &to, Map source) {
    ASSERT_GT(to.width, 0);
    for (int y = 0; y < to.height; y++)
        for (int x = 0; x < to.width; x++) {
            int sx, sy;
            source(x, y, &sx, &sy);
            size_t a = (size_t)sy * from.width + sx, b = (size_t)y * to.width + x;
            ASSERT_EQ(0, memcmp(&from.rgb[a * 3], &to.rgb[b * 3], 3)) << x << "," << y << " of " << to.width;
            if (from.bpp <= 8) {
                ASSERT_EQ(from.index[a], to.index[b]);
            }
            if (from.bpp == 32) {
                ASSERT_EQ(from.alpha[a], to.alpha[b]);
            }
        }
}

TEST_F(Reshape, InvertChangesTheTableOfPaletteImagesAndThePixelsOfOthers) {
    for (int bpp : kDepths) {
        HGLOBAL dib = noise_dib(13, 5, bpp);
        Pixels before = pixels_of(dib);
        Pixels after = result_of([&](HGLOBAL *o) { return img_invert(dib, nullptr, o); });
        for (size_t i = 0; i < before.rgb.size(); i++) ASSERT_EQ(after.rgb[i], 255 - before.rgb[i]) << bpp;
        if (bpp == 4 || bpp == 8) {
            EXPECT_EQ(after.index, before.index);
        }
        if (bpp == 1) {
            EXPECT_EQ(after.table[0].rgbRed, 0) << "1 bit: the pixels, not the table";
        }
        if (bpp == 32) {
            EXPECT_EQ(after.alpha, before.alpha);
        }
        GlobalFree(dib);
    }
}

TEST_F(Reshape, InvertComplementsThePaddingOfOneBitRowsAndStepsAsTheFrameSays) {
    HGLOBAL dib = noise_dib(3, 40, 1);
    ProgressLog log;
    ImgProgress p = log.record();
    HGLOBAL out = NULL;
    ASSERT_EQ(img_invert(dib, &p, &out), IMG_OK);
    {
        LockedDib a(dib), b(out);
        for (size_t i = 0; i < 4 * 40; i++) ASSERT_EQ(b.bits[i], (BYTE)~a.bits[i]);
    }
    std::vector<LONG> steps = expected_steps(40);
    steps.push_back(40);
    EXPECT_EQ(log.caption, (UINT)IDS_IMG_INVERTING);
    EXPECT_EQ(log.rows, 40);
    EXPECT_EQ(log.steps, steps);
    EXPECT_EQ(log.ends, 1);
    EXPECT_EQ(log.background, 40);
    GlobalFree(out);
    GlobalFree(dib);

    log = ProgressLog();
    dib = noise_dib(3, 40, 8);
    ASSERT_EQ(img_invert(dib, &p, &out), IMG_OK);
    EXPECT_EQ(log.rows, -1) << "palette images invert at once";
    GlobalFree(out);
    GlobalFree(dib);
}

// Counters of 16 bits stopped at 65,535 rows and 65,535 bytes a row.
TEST_F(Reshape, WideAndTallImagesAreReshapedToTheLastPixel) {
    struct Case {
        LONG w, h;
        WORD bpp;
    } cases[] = {{21846, 2, 24}, {16384, 2, 32}, {9, 65537, 1}};
    for (const Case &c : cases) {
        HGLOBAL dib = raw_dib(c.w, c.h, c.bpp), inv = NULL, flip = NULL, mir = NULL;
        ASSERT_EQ(img_invert(dib, nullptr, &inv), IMG_OK);
        ASSERT_EQ(img_flip(dib, &flip), IMG_OK);
        ASSERT_EQ(img_mirror(dib, &mir), IMG_OK);
        {
            LockedDib s(dib), i(inv), f(flip), m(mir);
            size_t stride = s.bi->biSizeImage / c.h, last = stride * (c.h - 1);
            EXPECT_EQ(i.bits[last + 2], (BYTE)~s.bits[last + 2]) << c.w;
            EXPECT_EQ(0, memcmp(f.bits, s.bits + last, stride)) << c.w;
            const BYTE *top = s.bits + last, *mirrored = m.bits + last;
            if (c.bpp == 1) {
                EXPECT_EQ(mirrored[0] >> 7, (top[1] >> 7) & 1) << "pixel 8 comes first";
            } else {
                EXPECT_EQ(0, memcmp(mirrored, top + (c.w - 1) * (c.bpp / 8), c.bpp / 8)) << c.w;
            }
        }
        for (HGLOBAL h : {dib, inv, flip, mir}) GlobalFree(h);
    }
}

TEST_F(Reshape, FlipExchangesRowsAndMirrorReversesThemAtOddWidths) {
    for (int bpp : kDepths)
        for (int w = 1; w <= 11; w += 2) {
            HGLOBAL dib = noise_dib(w, 3, bpp);
            Pixels before = pixels_of(dib);
            Pixels flip = result_of([&](HGLOBAL *o) { return img_flip(dib, o); });
            expect_moved(before, flip, [&](int x, int y, int *sx, int *sy) { *sx = x, *sy = 2 - y; });
            Pixels mir = result_of([&](HGLOBAL *o) { return img_mirror(dib, o); });
            expect_moved(before, mir, [&](int x, int y, int *sx, int *sy) { *sx = w - 1 - x, *sy = y; });
            // In place, as on the host's copy: the same pixels.
            ASSERT_EQ(img_mirror_in_place(dib), IMG_OK);
            EXPECT_EQ(pixels_of(dib).rgb, mir.rgb);
            ASSERT_EQ(img_mirror_in_place(dib), IMG_OK);
            ASSERT_EQ(img_flip_in_place(dib), IMG_OK);
            EXPECT_EQ(pixels_of(dib).rgb, flip.rgb);
            ASSERT_EQ(img_invert_in_place(dib, nullptr), IMG_OK);
            ASSERT_EQ(img_flip_in_place(dib), IMG_OK);
            Pixels inv = result_of([&](HGLOBAL *o) { return img_invert(dib, nullptr, o); });
            EXPECT_EQ(inv.rgb, before.rgb);
            GlobalFree(dib);
        }
}

TEST_F(Reshape, MirrorOfTenOneBitPixelsPutsPixelNineFirst) {
    HGLOBAL dib = make_dib(10, 1, 1, 2, [](int x, int) { return x == 9 ? 1u : 0u; }, true);
    HGLOBAL out = NULL;
    ASSERT_EQ(img_mirror(dib, &out), IMG_OK);
    {
        LockedDib l(out);
        EXPECT_EQ(l.bits[0], 0x80);
        EXPECT_EQ(l.bits[1], 0x00) << "the bits past the width stay clear";
    }
    GlobalFree(out);
    GlobalFree(dib);
}

// The block ends with the last row, so a read past a row is a read past
// the block, which the sanitizers catch.
TEST_F(Reshape, CropFromAnyLeftReadsOnlyThePixelsItKeeps) {
    for (int bpp : kDepths)
        for (int left = 0; left < 9; left++) {
            HGLOBAL dib = noise_dib(17, 4, bpp);
            Pixels before = pixels_of(dib);
            ImgCropParams p = {left, 1, 0, 2};
            Pixels after = result_of([&](HGLOBAL *o) { return img_crop(dib, &p, o); });
            EXPECT_EQ(after.width, 17 - left);
            EXPECT_EQ(after.height, 1);
            expect_moved(before, after, [&](int x, int y, int *sx, int *sy) { *sx = x + left, *sy = y + 1; });
            ASSERT_EQ(img_crop_in_place(&dib, &p), IMG_OK);
            EXPECT_EQ(pixels_of(dib).rgb, after.rgb) << "in place, " << bpp << " bits from " << left;
            GlobalFree(dib);
        }
}

TEST_F(Reshape, CropTakesStrideAndTableFromTheCore) {
    HGLOBAL dib = noise_dib(7, 5, 4);
    Pixels before = pixels_of(dib);
    {
        LockedDib l(dib);
        l.bi->biSizeImage = 0;  // stride as size / height was 0 here
        l.bi->biClrUsed = 0;    // and the table size too
    }
    ImgCropParams p = {1, 1, 1, 1};
    Pixels after = result_of([&](HGLOBAL *o) { return img_crop(dib, &p, o); });
    expect_moved(before, after, [](int x, int y, int *sx, int *sy) { *sx = x + 1, *sy = y + 1; });
    EXPECT_EQ(after.table.size(), 16u);
    GlobalFree(dib);
}

TEST_F(Reshape, CropThatLeavesNothingIsRefusedWithItsText) {
    HGLOBAL dib = noise_dib(10, 10, 24), out = (HGLOBAL)1;
    ImgCropParams p = {6, 0, 4, 0};
    EXPECT_EQ(img_crop(dib, &p, &out), IMG_BAD_PARAMS);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(img_text(img_message_id(IMG_OP_CROP, IMG_BAD_PARAMS)),
              "Cannot have an image dimension less than or equal to zero");
    ImgCropParams negative = {-1, 0, 0, 0};
    EXPECT_EQ(img_crop(dib, &negative, &out), IMG_BAD_PARAMS);
    GlobalFree(dib);
    DWORD right, left;
    img_crop_margins(100, 99, &right, &left);
    EXPECT_EQ(right, 0u);
    EXPECT_EQ(left, 1u);
    EXPECT_EQ(img_crop_clamp_margin(50, 45, 10), 40u);
}

TEST_F(Reshape, EveryOperationHasItsOwnTexts) {
    EXPECT_EQ(img_text(img_no_image_message_id(IMG_OP_FLIP)), "Image: No image in window, cannot flip");
    EXPECT_EQ(img_text(img_message_id(IMG_OP_FLIP, IMG_NO_MEMORY)), "Flip: Not enough memory to perform operation");
    EXPECT_EQ(img_text(img_message_id(IMG_OP_SCALE_LOW, IMG_NO_MEMORY)), "Not enough memory to complete operation");
    EXPECT_EQ(img_text(img_message_id(IMG_OP_MASK_SHAPE, IMG_NO_MEMORY)), "Mask: not enough memory to create mask");
    EXPECT_EQ(img_no_image_message_id(IMG_OP_MASK), 0u);
    EXPECT_EQ(img_text(IDS_IMG_MENU_FRAME), "Frame/Caption...");
    EXPECT_EQ(img_text(IDS_IMG_SHAPE_UP_ARROW), "Up Arrow");
    HGLOBAL out;
    EXPECT_EQ(img_flip(NULL, &out), IMG_BAD_IMAGE);
    EXPECT_EQ(img_text(img_message_id(IMG_OP_FLIP, IMG_BAD_IMAGE)), "Illegal image, cannot perform operation");
}

}  // namespace
