// Damaged and hostile BMP files: each fails with the reader's (or the
// library's) message, once, and leaves no image behind.
#include "bmp_test_support.h"
#include "codecs/bmp/bmp.h"

namespace {

struct Hostile {
    const char *what;
    Bytes file;
    const char *text;
};

Bytes rle8_file(int32_t width, int32_t height, const Bytes &stream) {
    return bmp_file(info_header(width, height, 8, 1, (uint32_t)stream.size(), 2), gray_table(2), stream);
}

Bytes with_offset(Bytes file, uint32_t offset) {
    for (int i = 0; i < 4; i++) file[10 + i] = (BYTE)(offset >> (8 * i));
    return file;
}

TEST_F(BmpTest, HostileFilesFailWithTheirMessage) {
    const char *rle = "Error decompressing RLE image";
    const char *notDib = "Error, not a Legitimate DIB File!";
    const char *noMemory = "Not enough memory to load file";
    const char *illegal = "Illegal or Unsupported BMP/DIB file format";
    Bytes whole = bmp_file(info_header(4, 4, 24, 0, 0, 0), {}, Bytes(48, 1));
    const Hostile cases[] = {
        {"absolute run past the row", rle8_file(4, 2, {0, 6, 1, 2, 3, 4, 5, 6, 0, 0, 0, 1}), rle},
        {"run past the row", rle8_file(4, 2, {9, 1, 0, 0, 0, 1}), rle},
        {"delta past the image", rle8_file(4, 2, {0, 2, 0, 5, 0, 1}), rle},
        {"delta past the row", rle8_file(4, 2, {0, 2, 9, 0, 0, 1}), rle},
        {"stream ends inside a row", rle8_file(4, 2, {2, 1, 0, 0, 2, 1}), rle},
        {"RLE4 of an 8-bit image", bmp_file(info_header(4, 1, 8, 2, 4, 2), gray_table(2), {4, 1, 0, 1}), illegal},
        {"truncated rows", Bytes(whole.begin(), whole.end() - 1), notDib},
        {"truncated header", Bytes(whole.begin(), whole.begin() + 30), notDib},
        {"stream longer than the file", bmp_file(info_header(4, 2, 8, 1, 5000, 2), gray_table(2), {0, 1}), notDib},
        {"data offset past the end", with_offset(whole, 0x7FFFFFF0), notDib},
        {"wider than a DIB may be", bmp_file(info_header(65536, 1, 1, 0, 0, 0), gray_table(2), {}), noMemory},
        {"more rows than 32 bits of bytes", bmp_file(info_header(65535, 65535, 32, 0, 0, 0), {}, {}), noMemory},
        {"huge color table", bmp_file(info_header(1, 1, 8, 0, 0, 0x40000000), {}, Bytes(4, 0)), illegal},
        {"zero width", bmp_file(info_header(0, 1, 8, 0, 0, 0), gray_table(256), {}), illegal},
        {"JPEG compression", bmp_file(info_header(1, 1, 24, 4, 4, 0), {}, Bytes(4, 0)), "Unsupported BMP/DIB file format"},
        {"header size 108", [] {
             Bytes b = bmp_file(info_header(1, 1, 24, 0, 4, 0), {}, Bytes(4, 0));
             b[14] = 108;
             return b;
         }(),
         notDib},
    };
    for (const Hostile &h : cases) {
        SCOPED_TRACE(h.what);
        boxes().clear();
        HGLOBAL out = (HGLOBAL)1;
        EXPECT_EQ(bmp_decode_memory(h.file.data(), h.file.size(), BMP_NO_IMAGE_LIMIT, &out), 0);
        EXPECT_EQ(out, nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, h.text);
    }
}

TEST_F(BmpTest, FilesMayNotAskForMoreThanTheLimit) {
    // A few bytes of RLE that would expand to 400 MB: refused by a reader
    // that was given less memory, before anything is allocated.
    Bytes tiny = bmp_file(info_header(20000, 20000, 8, 1, 2, 2), gray_table(2), {0, 1});
    HGLOBAL out;
    EXPECT_EQ(bmp_decode_memory(tiny.data(), tiny.size(), 64u << 20, &out), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Not enough memory to load file");
}

}  // namespace
