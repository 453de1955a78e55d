// DIB arithmetic, locking, copying and repair, including headers that lie.
#include "dib_internal.h"
#include "zyn_test_support.h"

namespace {

const size_t kHeader = sizeof(BITMAPINFOHEADER);

class zynDib : public ZynTest {};

TEST_F(zynDib, ColorCountAndTableSizeFollowTheHeader) {
    BITMAPINFOHEADER bi = {};
    bi.biSize = 40;
    bi.biBitCount = 24;
    bi.biClrUsed = 5;
    EXPECT_EQ(ZYN_DIB_NumColors(&bi), 5);
    EXPECT_EQ(ZYN_DIB_PaletteSize(&bi), 20u);
    bi.biClrUsed = 0;
    for (WORD bits : {16, 24, 32}) {
        bi.biBitCount = bits;
        EXPECT_EQ(ZYN_DIB_NumColors(&bi), 0) << bits;
    }
    bi.biBitCount = 4;
    EXPECT_EQ(ZYN_DIB_NumColors(&bi), 16);
    bi.biBitCount = 8;
    EXPECT_EQ(ZYN_DIB_PaletteSize(&bi), 1024u);
    // The count is 16 bits wide; the table size follows the count.
    bi.biClrUsed = 0x10000 + 3;
    EXPECT_EQ(ZYN_DIB_NumColors(&bi), 3);
    EXPECT_EQ(ZYN_DIB_PaletteSize(&bi), 12u);

    BITMAPCOREHEADER core = {12, 4, 4, 1, 8};
    EXPECT_EQ(ZYN_DIB_NumColors(&core), 256);
    EXPECT_EQ(ZYN_DIB_PaletteSize(&core), 768u);  // RGBTRIPLE entries
    core.bcBitCount = 24;
    EXPECT_EQ(ZYN_DIB_PaletteSize(&core), 0u);

    EXPECT_EQ(ZYN_DIB_BitsToColors(1), 2u);
    EXPECT_EQ(ZYN_DIB_BitsToColors(4), 16u);
    EXPECT_EQ(ZYN_DIB_BitsToColors(8), 256u);
    EXPECT_EQ(ZYN_DIB_BitsToColors(24), 0u);
    EXPECT_EQ(ZYN_DIB_BitsToColors(32), 0u);
}

TEST_F(zynDib, InfoFillsSizesWithoutTouchingTheBlock) {
    EXPECT_FALSE(ZYN_DIB_Info(nullptr, nullptr));
    BITMAPINFOHEADER out;
    EXPECT_FALSE(ZYN_DIB_Info(nullptr, &out));

    HGLOBAL h = make_dib(5, 3, 8, 0, 0, 256, 8 * 3);
    std::vector<BYTE> before = block_bytes(h);
    ASSERT_TRUE(ZYN_DIB_Info(h, &out));
    EXPECT_EQ(out.biSizeImage, 24u);  // stride 8 x 3 rows
    EXPECT_EQ(out.biClrUsed, 256u);
    EXPECT_EQ(out.biWidth, 5);
    EXPECT_EQ(block_bytes(h), before);
    EXPECT_EQ(lock_count(h), 0u);
    GlobalFree(h);

    // Kept as stored when set.
    h = make_dib(5, 3, 24, 7, 1000, 7, 1000);
    ASSERT_TRUE(ZYN_DIB_Info(h, &out));
    EXPECT_EQ(out.biSizeImage, 1000u);
    EXPECT_EQ(out.biClrUsed, 7u);
    GlobalFree(h);
}

TEST_F(zynDib, InfoRefusesHeadersThatDoNotFit) {
    BITMAPINFOHEADER out;
    // Stride x height beyond 32 bits cannot be reported in biSizeImage.
    HGLOBAL h = make_dib(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 0, 0, 16);
    EXPECT_FALSE(ZYN_DIB_Info(h, &out));
    GlobalFree(h);
    // A block shorter than the header it claims.
    h = GlobalAlloc(GHND, 20);
    *static_cast<DWORD *>(GlobalLock(h)) = 40;
    GlobalUnlock(h);
    EXPECT_FALSE(ZYN_DIB_Info(h, &out));
    EXPECT_EQ(lock_count(h), 0u);
    GlobalFree(h);
    // A table larger than the block.
    h = make_dib(2, 2, 8, 0xFFFF, 0, 0, 8);
    EXPECT_FALSE(ZYN_DIB_Info(h, &out));
    GlobalFree(h);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynDib, InfoReportsTheShortHeaderForm) {
    HGLOBAL h = GlobalAlloc(GHND, 12 + 2 * 3 + 4);
    BITMAPCOREHEADER core = {12, 3, 1, 1, 1};
    memcpy(GlobalLock(h), &core, sizeof core);
    GlobalUnlock(h);
    BITMAPINFOHEADER out;
    ASSERT_TRUE(ZYN_DIB_Info(h, &out));
    EXPECT_EQ(out.biSize, 12u);
    EXPECT_EQ(out.biWidth, 3);
    EXPECT_EQ(out.biHeight, 1);
    EXPECT_EQ(out.biBitCount, 1);
    GlobalFree(h);
}

TEST_F(zynDib, LockPtrsPointsPastTheTable) {
    HGLOBAL h = make_dib(1, 2, 24, 5, 8, 5, 8);
    BITMAPINFOHEADER *hdr;
    RGBQUAD *colors;
    BYTE *bits;
    ASSERT_TRUE(ZYN_DIB_LockPtrs(h, &hdr, &colors, &bits));
    BYTE *base = reinterpret_cast<BYTE *>(hdr);
    EXPECT_EQ(reinterpret_cast<BYTE *>(colors), base + kHeader);
    EXPECT_EQ(bits, base + kHeader + 20);
    EXPECT_EQ(lock_count(h), 1u);
    GlobalUnlock(h);
    // Null out-pointers are skipped.
    ASSERT_TRUE(ZYN_DIB_LockPtrs(h, nullptr, nullptr, &bits));
    GlobalUnlock(h);
    GlobalFree(h);
}

TEST_F(zynDib, LockPtrsRefusesPixelsBeyondTheBlockAndStaysUnlocked) {
    struct Case {
        const char *what;
        DWORD clrUsed, sizeImage;
        size_t pixels;
        LONG height;
    } cases[] = {
        {"biSizeImage larger than the block", 0, 4096, 16, 2},
        {"huge biClrUsed", 0x40000000, 16, 16, 2},
        {"implicit size larger than the block", 0, 0, 4, 100},
    };
    for (const Case &c : cases) {
        HGLOBAL h = make_dib(2, c.height, 24, c.clrUsed, c.sizeImage, 0, c.pixels);
        BITMAPINFOHEADER *hdr = reinterpret_cast<BITMAPINFOHEADER *>(1);
        BYTE *bits = reinterpret_cast<BYTE *>(1);
        EXPECT_FALSE(ZYN_DIB_LockPtrs(h, &hdr, nullptr, &bits)) << c.what;
        EXPECT_EQ(hdr, nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
        EXPECT_EQ(lock_count(h), 0u) << c.what;
        GlobalFree(h);
    }
    EXPECT_FALSE(ZYN_DIB_LockPtrs(nullptr, nullptr, nullptr, nullptr));
}

TEST_F(zynDib, CopyDuplicatesHeaderTableAndPixels) {
    HGLOBAL h = make_dib(3, 2, 8, 4, 8, 4, 8);
    HGLOBAL c = ZYN_DIB_Copy(h);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(c, h);
    EXPECT_EQ(GlobalSize(c), kHeader + 16 + 8);
    EXPECT_EQ(block_bytes(c), block_bytes(h));
    EXPECT_EQ(lock_count(h), 0u);
    EXPECT_EQ(lock_count(c), 0u);
    GlobalFree(c);
    GlobalFree(h);

    // Only the pixels the header claims are copied; biSizeImage 0 means the
    // rows the size gives.
    h = make_dib(3, 2, 8, 4, 0, 4, 8 + 100);
    c = ZYN_DIB_Copy(h);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(GlobalSize(c), kHeader + 16 + 8);
    GlobalFree(c);
    GlobalFree(h);
}

TEST_F(zynDib, CopyOfAHostileHeaderGivesNullSilently) {
    HGLOBAL bad[] = {
        make_dib(3, 2, 24, 0, 1u << 30, 0, 8),           // biSizeImage beyond the block
        make_dib(3, 2, 24, 0xFFFFFFFF, 8, 0, 8),         // table beyond the block
        make_dib(3, 2, 8, 0, 0, 0, 8),                   // 256 entries missing
        make_dib(3, 2, 8, 0, 0, 256, 8, BI_RLE8),        // compressed without its length
        make_dib(1 << 30, 1 << 20, 24, 0, 0, 0, 8),      // stride x height overflows
    };
    for (HGLOBAL h : bad) {
        EXPECT_EQ(ZYN_DIB_Copy(h), nullptr);
        EXPECT_EQ(lock_count(h), 0u);
        GlobalFree(h);
    }
    EXPECT_EQ(ZYN_DIB_Copy(nullptr), nullptr);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynDib, FixPaletteMovesPixelsOverTheTableOfA24BitDib) {
    const size_t pixels = 4 * 2;  // 1 x 2 at 24 bits: 4-byte rows
    HGLOBAL h = make_dib(1, 2, 24, 5, pixels, 5, pixels);
    std::vector<BYTE> before = block_bytes(h);
    {
        BITMAPINFOHEADER *hdr;
        BYTE *bits;
        ASSERT_TRUE(ZYN_DIB_LockPtrs(h, &hdr, nullptr, &bits));
        EXPECT_EQ(ZYN_DIB_NumColors(hdr), 5);
        EXPECT_EQ(bits - reinterpret_cast<BYTE *>(hdr), (ptrdiff_t)(kHeader + 20));
        GlobalUnlock(h);
    }
    ZYN_DIB_FixPalette(h);
    std::vector<BYTE> after = block_bytes(h);
    ASSERT_EQ(after.size(), before.size());  // the block keeps its size
    EXPECT_EQ(header_of(h).biClrUsed, 0u);
    EXPECT_TRUE(std::equal(before.end() - pixels, before.end(), after.begin() + kHeader));
    BITMAPINFOHEADER *hdr;
    BYTE *bits;
    ASSERT_TRUE(ZYN_DIB_LockPtrs(h, &hdr, nullptr, &bits));
    EXPECT_EQ(bits, reinterpret_cast<BYTE *>(hdr) + kHeader);
    GlobalUnlock(h);
    EXPECT_EQ(lock_count(h), 0u);
    GlobalFree(h);
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynDib, FixPaletteLeavesOtherDibsAloneAndRefusesLies) {
    HGLOBAL keep[] = {make_dib(2, 2, 8, 4, 8, 4, 8), make_dib(2, 2, 24, 0, 16, 0, 16)};
    for (HGLOBAL h : keep) {
        std::vector<BYTE> before = block_bytes(h);
        ZYN_DIB_FixPalette(h);
        EXPECT_EQ(block_bytes(h), before);
        GlobalFree(h);
    }
    EXPECT_TRUE(shown().empty());

    HGLOBAL h = make_dib(2, 2, 24, 5, 4096, 5, 16);  // pixels claimed but absent
    std::vector<BYTE> before = block_bytes(h);
    ZYN_DIB_FixPalette(h);
    EXPECT_EQ(block_bytes(h), before);
    EXPECT_EQ(lock_count(h), 0u);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Illegal image, cannot perform operation");
    GlobalFree(h);
}

// A 3-pixel-wide 24-bit image with 9-byte rows: row r, byte k holds r*16+k.
HGLOBAL packed_three_pixel_image(LONG rows, size_t pixelRoom) {
    HGLOBAL h = make_dib(3, rows, 24, 0, 9 * rows, 0, pixelRoom);
    BYTE *p = static_cast<BYTE *>(GlobalLock(h)) + kHeader;
    for (LONG r = 0; r < rows; ++r)
        for (int k = 0; k < 9; ++k) p[r * 9 + k] = (BYTE)(r * 16 + k);
    GlobalUnlock(h);
    return h;
}

TEST_F(zynDib, FixAlignmentPadsPackedRowsAfterTheWarning) {
    const LONG rows = 4;
    HGLOBAL h = packed_three_pixel_image(rows, 9 * rows);
    HGLOBAL fixed = ZYN_DIB_FixDIBAlignment(h);
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Correcting bad DIB alignment");
    EXPECT_FALSE(shown()[0].hasCaption);  // the library has no string 19715
    EXPECT_EQ(GlobalSize(fixed), kHeader + 12 * rows);
    EXPECT_EQ(header_of(fixed).biSizeImage, (DWORD)(12 * rows));
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(fixed)) + kHeader;
    for (LONG r = 0; r < rows; ++r) {
        for (int k = 0; k < 9; ++k) EXPECT_EQ(p[r * 12 + k], r * 16 + k) << "row " << r << " byte " << k;
        for (int k = 9; k < 12; ++k) EXPECT_EQ(p[r * 12 + k], 0) << "padding of row " << r;
    }
    GlobalUnlock(fixed);
    EXPECT_EQ(lock_count(fixed), 0u);
    GlobalFree(fixed);
}

TEST_F(zynDib, FixAlignmentOnlyCorrectsTheSizeWhenTheBlockHoldsPaddedRows) {
    const LONG rows = 3;
    HGLOBAL h = packed_three_pixel_image(rows, 12 * rows);
    std::vector<BYTE> before = block_bytes(h);
    EXPECT_EQ(ZYN_DIB_FixDIBAlignment(h), h);
    EXPECT_EQ(header_of(h).biSizeImage, (DWORD)(12 * rows));
    std::vector<BYTE> after = block_bytes(h);
    EXPECT_TRUE(std::equal(before.begin() + kHeader, before.end(), after.begin() + kHeader));
    EXPECT_TRUE(shown().empty());
    GlobalFree(h);
}

TEST_F(zynDib, FixAlignmentLeavesGoodAndUnexaminedDibsAlone) {
    HGLOBAL good = make_dib(3, 2, 24, 0, 24, 0, 24);
    HGLOBAL rle = make_dib(3, 2, 8, 0, 5, 256, 5, BI_RLE8);
    for (HGLOBAL h : {good, rle}) {
        std::vector<BYTE> before = block_bytes(h);
        EXPECT_EQ(ZYN_DIB_FixDIBAlignment(h), h);
        EXPECT_EQ(block_bytes(h), before);
        EXPECT_EQ(lock_count(h), 0u);
        GlobalFree(h);
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynDib, FixAlignmentRefusesIllegalImagesOnceAndKeepsThem) {
    struct Case {
        const char *what;
        LONG width, height;
        DWORD sizeImage;
        size_t room;
    } cases[] = {
        {"zero height", 3, 0, 18, 18},
        {"negative height", 3, -2, 18, 18},
        {"size not a multiple of the height", 3, 2, 17, 17},
        {"present stride larger than the right one", 3, 2, 32, 18},
        {"rows claimed but absent", 3, 4, 36, 20},
        {"no rows at all", 3, 2, 0, 4},
        {"negative width", -3, 2, 18, 18},
        {"packed rows too short for their pixels", 1000000000, 1, 8, 8},
        {"packed rows too short by one byte", 3, 2, 16, 16},
    };
    for (const Case &c : cases) {
        shown_messages().clear();
        HGLOBAL h = make_dib(c.width, c.height, 24, 0, c.sizeImage, 0, c.room);
        std::vector<BYTE> before = block_bytes(h);
        EXPECT_EQ(ZYN_DIB_FixDIBAlignment(h), nullptr) << c.what;
        ASSERT_EQ(shown().size(), 1u) << c.what;
        EXPECT_EQ(shown()[0].text, "Illegal image, cannot perform operation") << c.what;
        EXPECT_EQ(block_bytes(h), before) << c.what;
        EXPECT_EQ(lock_count(h), 0u) << c.what;
        GlobalFree(h);
    }
}

TEST(zynDibLayout, CheckedArithmetic) {
    uint64_t v;
    ASSERT_TRUE(zyn_dib_stride(3, 24, &v));
    EXPECT_EQ(v, 12u);
    ASSERT_TRUE(zyn_dib_stride(9, 1, &v));
    EXPECT_EQ(v, 4u);
    ASSERT_TRUE(zyn_dib_stride(0x7FFFFFFF, 0xFFFF, &v));  // no overflow in 64 bits
    EXPECT_FALSE(zyn_dib_stride(-1, 8, &v));
    ASSERT_TRUE(zyn_dib_packed_size(3, -2, 24, &v));  // top-down rows count too
    EXPECT_EQ(v, 24u);
    EXPECT_FALSE(zyn_dib_packed_size(0x10000, 0x10000, 32, &v));  // 2^34 bytes
}

}  // namespace
