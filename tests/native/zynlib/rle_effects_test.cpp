// Run-length conversion (the fixed byte sequences, round trips, damaged
// streams), the cross-fade and the frame.
#include <stdlib.h>

#include "rle_internal.h"
#include "zyn_test_support.h"

namespace {

typedef std::vector<BYTE> Bytes;

class zynRle : public ZynTest {};
class zynEffects : public ZynTest {};

Bytes encode8(const Bytes &row) {
    Bytes out(zyn_rle_row_bound(row.size()));
    ZynRleOut o = {out.data(), out.size(), 0, 0};
    zyn_rle8_encode_row(row.data(), row.size(), &o);
    EXPECT_FALSE(o.overflow);
    out.resize(o.used);
    return out;
}

Bytes encode4(const Bytes &row, size_t width) {
    Bytes out(zyn_rle_row_bound(row.size()));
    ZynRleOut o = {out.data(), out.size(), 0, 0};
    zyn_rle4_encode_row(row.data(), width, &o);
    EXPECT_FALSE(o.overflow);
    out.resize(o.used);
    return out;
}

// An uncompressed or compressed DIB block: header, `colors` gray entries,
// then the given pixel bytes.
HGLOBAL dib_of(LONG width, LONG height, WORD bits, DWORD compression, const Bytes &pixels, DWORD colors) {
    HGLOBAL h = make_dib(width, height, bits, colors, (DWORD)pixels.size(), colors, pixels.size(), compression);
    BYTE *p = static_cast<BYTE *>(GlobalLock(h));
    RGBQUAD *table = reinterpret_cast<RGBQUAD *>(p + sizeof(BITMAPINFOHEADER));
    for (DWORD i = 0; i < colors; i++) table[i] = {(BYTE)i, (BYTE)(i * 3), (BYTE)(255 - i), 0};
    if (!pixels.empty()) memcpy(p + sizeof(BITMAPINFOHEADER) + colors * 4, pixels.data(), pixels.size());
    GlobalUnlock(h);
    return h;
}

Bytes pixels_of(HGLOBAL h) {
    BITMAPINFOHEADER *hdr;
    BYTE *bits;
    EXPECT_TRUE(ZYN_DIB_LockPtrs(h, &hdr, nullptr, &bits));
    Bytes v(bits, bits + hdr->biSizeImage);
    GlobalUnlock(h);
    return v;
}

// Random rows with runs in them, so both run and literal codes occur.
Bytes runny_pixels(size_t n, unsigned seed) {
    srand(seed);
    Bytes v(n);
    for (size_t i = 0; i < n;) {
        BYTE value = (BYTE)rand();
        size_t len = rand() % 3 == 0 ? 1 + rand() % 300 : 1;
        for (size_t k = 0; k < len && i < n; k++) v[i++] = rand() % 4 ? value : (BYTE)rand();
    }
    return v;
}

TEST_F(zynRle, Rle8RowsEncodeToTheDocumentedBytes) {
    EXPECT_EQ(encode8({9, 9, 9, 9, 9, 9, 9, 0}), (Bytes{7, 9, 1, 0, 0, 0}));
    EXPECT_EQ(encode8({1, 2, 3, 4}), (Bytes{0, 4, 1, 2, 3, 4, 0, 0}));
    EXPECT_EQ(encode8({1, 2, 5, 5, 5, 5, 5, 5}), (Bytes{1, 1, 1, 2, 6, 5, 0, 0}));
    // An odd literal count is padded; a run longer than 255 splits.
    EXPECT_EQ(encode8({1, 2, 3, 4, 5, 7, 7, 7}), (Bytes{0, 5, 1, 2, 3, 4, 5, 0, 3, 7, 0, 0}));
    Bytes long_run(300, 4);
    EXPECT_EQ(encode8(long_run), (Bytes{255, 4, 45, 4, 0, 0}));
}

TEST_F(zynRle, Rle4RowsEncodePixelPairs) {
    // Width 9: four byte pairs (3 or fewer at the end go one by one) and
    // the odd last pixel.
    EXPECT_EQ(encode4({0x11, 0x11, 0x11, 0x11, 0x20}, 9), (Bytes{8, 0x11, 1, 0x20, 0, 0}));
    EXPECT_EQ(encode4({0x12, 0x34, 0x56, 0x78, 0x9A}, 10), (Bytes{0, 10, 0x12, 0x34, 0x56, 0x78, 0x9A, 0, 0, 0}));
    EXPECT_EQ(encode4({0x12, 0x34, 0x56}, 6), (Bytes{2, 0x12, 2, 0x34, 2, 0x56, 0, 0}));
}

TEST_F(zynRle, CompressionRoundTripsEveryDepthAndWidth) {
    for (WORD bits : {1, 4, 8}) {
        for (LONG width : {1, 2, 3, 7, 8, 13, 31, 64, 257, 600}) {
            LONG height = 5;
            size_t stride = ((bits * width + 31) / 32) * 4;
            Bytes raw = runny_pixels(stride * height, (unsigned)(width * bits));
            // RLE4 codes the width's pixels only: padding comes back 0.
            for (LONG y = 0; y < height; y++)
                for (size_t x = (bits * (size_t)width + 7) / 8; x < stride; x++) raw[y * stride + x] = 0;
            if (bits == 4 && (width & 1))
                for (LONG y = 0; y < height; y++) raw[y * stride + width / 2] &= 0xF0;
            HGLOBAL src = dib_of(width, height, bits, BI_RGB, raw, 1u << bits);
            DWORD target = bits == 4 ? BI_RLE4 : BI_RLE8;
            HGLOBAL packed = ZYN_DIB_Compress(src, FALSE, target);
            ASSERT_NE(packed, nullptr) << bits << "x" << width;
            EXPECT_EQ(header_of(packed).biCompression, target);
            EXPECT_EQ(GlobalSize(packed), 40 + 4u * (1u << bits) + header_of(packed).biSizeImage);
            HGLOBAL back = ZYN_DIB_Compress(packed, FALSE, BI_RGB);
            ASSERT_NE(back, nullptr);
            EXPECT_EQ(pixels_of(back), raw) << bits << "x" << width;
            EXPECT_EQ(header_of(back).biSizeImage, raw.size());
            // The table travels; the source stays as it was.
            Bytes srcBytes = block_bytes(src), backBytes = block_bytes(back);
            EXPECT_TRUE(std::equal(srcBytes.begin() + 40, srcBytes.begin() + 40 + (4 << bits), backBytes.begin() + 40));
            EXPECT_EQ(lock_count(src), 0u);
            GlobalFree(src);
            GlobalFree(packed);
            GlobalFree(back);
        }
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(zynRle, DecoderFollowsDeltasNibblesAndEndOfBitmap) {
    // RLE4, 6 x 3: a run from an odd pixel continues at that nibble; a
    // delta moves right and up a row; end of bitmap leaves the rest 0.
    Bytes rle4 = {1, 0x70, 3, 0xAB, 0, 2, 1, 1, 2, 0xCD, 0, 0, 0, 1};
    HGLOBAL h = dib_of(6, 3, 4, BI_RLE4, rle4, 16);
    HGLOBAL out = ZYN_DIB_Compress(h, FALSE, BI_RGB);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(pixels_of(out), (Bytes{0x7A, 0xBA, 0, 0, 0, 0, 0x0C, 0xD0, 0, 0, 0, 0}));
    GlobalFree(h);
    GlobalFree(out);
    // RLE8 without end-of-line before end of bitmap.
    h = dib_of(4, 2, 8, BI_RLE8, Bytes{2, 5, 0, 1}, 256);
    out = ZYN_DIB_Compress(h, FALSE, BI_RGB);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(pixels_of(out), (Bytes{5, 5, 0, 0, 0, 0, 0, 0}));
    GlobalFree(h);
    GlobalFree(out);
}

TEST_F(zynRle, DamagedStreamsFailWithTheLibraryMessage) {
    const Bytes damaged[] = {
        {5, 1, 0, 0},                   // run past a 4-byte row
        {2, 1, 2, 1, 1, 1, 0, 0},       // runs adding up past the stride
        {0, 5, 1, 2, 3, 4, 5, 0, 0, 0}, // absolute run past the row
        {0, 2, 5, 0, 0, 0},             // delta right past the row
        {0, 2, 0, 2, 0, 0},             // delta up past the image (2 rows)
        {4, 1, 0, 0, 2},                // the stream ends inside row 1
        {0, 200, 1, 2},                 // absolute run longer than the stream
        {},                             // nothing at all
    };
    for (const Bytes &stream : damaged) {
        shown_messages().clear();
        HGLOBAL h = dib_of(4, 2, 8, BI_RLE8, stream, 256);
        if (stream.empty()) {
            // A compressed DIB must say how long its data is.
            EXPECT_EQ(ZYN_DIB_Compress(h, FALSE, BI_RGB), nullptr);
        } else {
            EXPECT_EQ(ZYN_DIB_Compress(h, FALSE, BI_RGB), nullptr);
            ASSERT_EQ(shown().size(), 1u);
            EXPECT_EQ(shown()[0].text, "Error decompressing RLE image");
        }
        EXPECT_EQ(lock_count(h), 0u);
        GlobalFree(h);
    }
    // RLE4 codes 4-bit pixels only.
    shown_messages().clear();
    HGLOBAL h = dib_of(4, 1, 8, BI_RGB, Bytes(4, 1), 256);
    EXPECT_EQ(ZYN_DIB_Compress(h, FALSE, BI_RLE4), nullptr);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, "Illegal image, cannot perform operation");
    GlobalFree(h);
}

TEST_F(zynRle, ResourceSourcesAreReadInPlace) {
    HGLOBAL h = dib_of(4, 1, 8, BI_RGB, Bytes{3, 3, 3, 3}, 256);
    void *locked = GlobalLock(h);
    HGLOBAL packed = ZYN_DIB_Compress(static_cast<HGLOBAL>(locked), TRUE, BI_RLE8);
    GlobalUnlock(h);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(pixels_of(packed), (Bytes{4, 3, 0, 0, 0, 1}));
    GlobalFree(packed);
    GlobalFree(h);
}

// ---- fade and frame ---------------------------------------------------

HGLOBAL rgb_image(WORD bits, std::initializer_list<BYTE> pixel, LONG width = 2, LONG height = 2) {
    size_t bpp = bits / 8, stride = ((bits * width + 31) / 32) * 4;
    Bytes px(stride * height, 0);
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++) std::copy(pixel.begin(), pixel.end(), px.begin() + y * stride + x * bpp);
    return dib_of(width, height, bits, BI_RGB, px, 0);
}

Bytes first_pixel(HGLOBAL h, size_t n) {
    Bytes all = pixels_of(h);
    return Bytes(all.begin(), all.begin() + n);
}

TEST_F(zynEffects, FadeWeighsTheTwoImages) {
    HGLOBAL a = rgb_image(24, {10, 100, 201}), b = rgb_image(24, {21, 50, 0});
    HGLOBAL half = ZYN_DIB_Fade(a, b, 8192), none = ZYN_DIB_Fade(a, b, 0);
    EXPECT_EQ(first_pixel(half, 3), (Bytes{15, 75, 100}));  // rounded-down means
    EXPECT_EQ(pixels_of(none), pixels_of(a));
    EXPECT_EQ(header_of(half).biBitCount, 24);

    // 24 then 32 at t equals 32 then 24 at 16384 - t.
    HGLOBAL c = rgb_image(32, {200, 30, 90, 128});
    HGLOBAL ac = ZYN_DIB_Fade(a, c, 4096), ca = ZYN_DIB_Fade(c, a, 12288);
    EXPECT_EQ(pixels_of(ac), pixels_of(ca));
    EXPECT_EQ(header_of(ac).biBitCount, 32);
    // The 32-bit image weighs 4096, the opaque 24-bit one 12288.
    EXPECT_EQ(first_pixel(ca, 4)[3], (128 * 4096 + 255 * 12288) >> 14);
    for (HGLOBAL h : {a, b, c, half, none, ac, ca}) GlobalFree(h);
}

TEST_F(zynEffects, FadeWithAPalettedImageUsesItsTable) {
    // 2 x 2 8-bit image, every pixel index 2: table entry (2, 6, 253).
    HGLOBAL p8 = dib_of(2, 2, 8, BI_RGB, Bytes(8, 2), 256);
    HGLOBAL c24 = rgb_image(24, {100, 100, 100});
    HGLOBAL c32 = rgb_image(32, {100, 100, 100, 200});
    HGLOBAL f = ZYN_DIB_Fade(c24, p8, 16384);  // all of the paletted one
    EXPECT_EQ(first_pixel(f, 3), (Bytes{2, 6, 253}));
    EXPECT_EQ(header_of(f).biClrUsed, 0u);
    HGLOBAL g = ZYN_DIB_Fade(p8, c32, 8192);
    EXPECT_EQ(header_of(g).biBitCount, 32);
    EXPECT_EQ(first_pixel(g, 4), (Bytes{51, 53, 176, 100}));  // alpha = 200 x t >> 14
    HGLOBAL both = ZYN_DIB_Fade(p8, p8, 5000);
    EXPECT_EQ(header_of(both).biBitCount, 24);
    // Images of different sizes are refused rather than read out of bounds.
    HGLOBAL wide = rgb_image(24, {1, 2, 3}, 3, 2);
    EXPECT_EQ(ZYN_DIB_Fade(c24, wide, 100), nullptr);
    for (HGLOBAL h : {p8, c24, c32, f, g, both, wide}) GlobalFree(h);
}

TEST_F(zynEffects, FrameSurroundsTheImageWithTheFill) {
    // 3 x 3 1-bit image, rows 101, 010, 111 (bottom up), framed by 1 each side.
    HGLOBAL mono = dib_of(3, 3, 1, BI_RGB, Bytes{0xA0, 0, 0, 0, 0x40, 0, 0, 0, 0xE0, 0, 0, 0}, 2);
    HGLOBAL framed = ZYN_DIB_Frame(mono, 1, 1, 1, 1, 0, nullptr);
    ASSERT_NE(framed, nullptr);
    BITMAPINFOHEADER h = header_of(framed);
    EXPECT_EQ(h.biWidth, 5);
    EXPECT_EQ(h.biHeight, 5);
    EXPECT_EQ(h.biSizeImage, 20u);
    EXPECT_EQ(pixels_of(framed), (Bytes{0, 0, 0, 0, 0x50, 0, 0, 0, 0x20, 0, 0, 0, 0x70, 0, 0, 0, 0, 0, 0, 0}));
    HGLOBAL ones = ZYN_DIB_Frame(mono, 2, 0, 0, 1, 1, nullptr);
    // Fill 1 sets every bit of every row, padding included.
    EXPECT_EQ(pixels_of(ones), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xD7, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF}));

    // 4 bits: the fill in both nibbles, the image shifted by one pixel.
    HGLOBAL nib = dib_of(2, 1, 4, BI_RGB, Bytes{0x12, 0, 0, 0}, 16);
    HGLOBAL nf = ZYN_DIB_Frame(nib, 1, 0, 0, 0, 7, nullptr);
    EXPECT_EQ(pixels_of(nf), (Bytes{0x71, 0x27, 0x77, 0x77}));

    // 24 and 32 bits take the fill color; 32 bits with alpha 0.
    const BYTE color[3] = {1, 2, 3};
    HGLOBAL c = rgb_image(32, {9, 9, 9, 9}, 1, 1);
    HGLOBAL cf = ZYN_DIB_Frame(c, 1, 0, 0, 0, 0, color);
    EXPECT_EQ(pixels_of(cf), (Bytes{1, 2, 3, 0, 9, 9, 9, 9}));
    EXPECT_EQ(ZYN_DIB_Frame(c, 70000, 0, 0, 0, 0, color), nullptr);
    for (HGLOBAL x : {mono, framed, ones, nib, nf, c, cf}) GlobalFree(x);
}

}  // namespace
