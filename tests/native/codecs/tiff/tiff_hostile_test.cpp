#include "tiff_test_support.h"

namespace {

TEST_F(TiffTest, HeadersThatAreNotTiff) {
    expect_refused(Bytes{}, "Cannot read TIFF header");
    expect_refused(Bytes{'I', 'I', 42}, "Cannot read TIFF header");
    expect_refused(Bytes{'B', 'M', 42, 0, 8, 0, 0, 0}, "This is not a TIFF file, bad header id");
    expect_refused(Bytes{'I', 'I', 41, 0, 8, 0, 0, 0}, "Not a TIFF file, bad version number");
    expect_refused(Bytes{'I', 'I', 42, 0, 0xF0, 0xFF, 0, 0}, "Cannot read TIFF directory count for this file");
}

TEST_F(TiffTest, TagCombinationsTheReaderDoesNotTake) {
    expect_refused(build_tiff(basic_tags(2, 2, 3, 1, 1), Bytes(2)), "Unsupported TIF format");
    expect_refused(build_tiff(basic_tags(2, 2, 8, 2, 1), Bytes(8)), "Unsupported TIFF Samples-per-pixel value, cannot load");
    expect_refused(build_tiff(basic_tags(2, 2, 8, 1, 2), Bytes(4)), "Unsupported TIFF Samples-per-pixel value, cannot load");
    expect_refused(build_tiff(basic_tags(2, 2, 4, 4, 5), Bytes(8)), "Unsupported CMYK TIFF file, cannot load");
    expect_refused(build_tiff(basic_tags(2, 2, 8, 1, 4), Bytes(4)),
                   "Unknown photometric interpretation field, cannot load file");
    TiffTags deepPalette = basic_tags(2, 2, 16, 1, 3);
    deepPalette[320] = shorts(std::vector<uint32_t>(3 * 65536, 0));
    expect_refused(build_tiff(deepPalette, Bytes(8)), "Unsupported TIF format");
    TiffTags g4 = basic_tags(8, 8, 8, 1, 1);
    g4[259] = shorts({4});
    expect_refused(build_tiff(g4, Bytes(64)), "Illegal Bits-per-Sample value for Group 3/4");
    TiffTags lzw = basic_tags(8, 8, 8, 1, 1);
    lzw[259] = shorts({5});
    expect_refused(build_tiff(lzw, Bytes(64)), "Patented UNISYS LZW compression not supported");
    TiffTags jpeg = basic_tags(8, 8, 8, 1, 1);
    jpeg[259] = shorts({7});
    expect_refused(build_tiff(jpeg, Bytes(64)), "Unknown data compression algorithm");
}

TEST_F(TiffTest, GiantSizesFailBeforeAnythingLargeIsAllocated) {
    expect_refused(build_tiff(basic_tags(70000, 2, 8, 1, 1), Bytes(16)), "Not enough memory to load TIF image");
    expect_refused(build_tiff(basic_tags(65535, 65535, 8, 3, 2), Bytes(16)), "Not enough memory to load TIF image");
    // Within the limits, but far more pixels than the file holds.
    expect_refused(build_tiff(basic_tags(60000, 60000, 8, 1, 1), Bytes(16)), "Incomplete TIFF file, cannot load");
    TiffTags packed = basic_tags(60000, 60000, 8, 1, 1);
    packed[259] = shorts({32773});
    expect_refused(build_tiff(packed, Bytes(16)), "Incomplete TIFF file, cannot load");
    TiffTags fax = basic_tags(60000, 60000, 1, 1, 0);
    fax[259] = shorts({4});
    expect_refused(build_tiff(fax, Bytes(16)), "Incomplete TIFF file, cannot load");
}

TEST_F(TiffTest, StripsThatLieAboutTheirSize) {
    // 4 x 4 gray in two strips of two rows; the second strip claims more
    // bytes than the file holds, then points past the end.
    Bytes pixels(16, 0x55);
    TiffTags t = basic_tags(4, 4, 8, 1, 1);
    t[278] = longs({2});
    t[273] = longs({8, 16});
    t[279] = longs({8, 400});
    expect_refused(build_tiff(t, pixels), "Incomplete TIFF file, cannot load");
    t[279] = longs({8, 8});
    t[273] = longs({8, 90000});
    expect_refused(build_tiff(t, pixels), "Incomplete TIFF file, cannot load");
    // PackBits data that ends inside a row.
    TiffTags p = basic_tags(8, 2, 8, 1, 1);
    p[259] = shorts({32773});
    boxes().clear();
    HGLOBAL dib = decode(build_tiff(p, Bytes{0xF9, 7, 0x07, 1, 2}));
    EXPECT_EQ(dib, nullptr);
    if (dib) GlobalFree(dib);
    ASSERT_EQ(boxes().size(), 1u) << last_text();
    EXPECT_EQ(boxes()[0].text, "Incomplete TIFF file, cannot load");
}

/* Every prefix of real files, and every single-byte change of one: one
   message and no image, or an image; never a crash or a second box. */
TEST_F(TiffTest, TruncatedAndDamagedFilesFailWithOneMessage) {
    for (const char *stem : {"rgb_packbits", "bw_g4", "bw_g3_2d", "pal4_packbits", "rgb_planar_none"}) {
        SCOPED_TRACE(stem);
        Bytes whole = bytes_of(read_file(kTiffFixtures + stem + ".tif"));
        ASSERT_FALSE(whole.empty());
        for (size_t n = 0; n < whole.size(); n++) {
            boxes().clear();
            HGLOBAL dib = decode(Bytes(whole.begin(), whole.begin() + n));
            if (dib) GlobalFree(dib);
            EXPECT_EQ(boxes().size(), dib ? 0u : 1u) << n;
        }
        for (size_t at = 0; at < whole.size(); at += 3) {
            Bytes damaged = whole;
            damaged[at] ^= 0xA5;
            boxes().clear();
            HGLOBAL dib = decode(damaged);
            if (dib) GlobalFree(dib);
            EXPECT_LE(boxes().size(), 1u) << at;
        }
    }
}

TEST_F(TiffTest, ALoadOfAMissingFileSaysItCannotOpenIt) {
    EXPECT_EQ(load_as("TIF", dir + "/missing.tif"), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open file");
}

}  // namespace
