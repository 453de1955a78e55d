#include <tiffio.h>

#include "tiff_test_support.h"

namespace {

/* The tags of a written file, read by the library itself. */
struct WrittenTags {
    uint32_t width = 0, height = 0, rowsPerStrip = 0;
    uint16_t bits = 0, samples = 0, compression = 0, photometric = 0, planar = 0, orientation = 0;
    bool hasMap = false;
};

WrittenTags tags_of(const std::string &path) {
    WrittenTags t;
    TIFFSetWarningHandler(nullptr);
    TIFF *tif = TIFFOpen(path.c_str(), "rc");  // no strip chopping: the stored rows per strip
    if (!tif) return t;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &t.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &t.height);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &t.rowsPerStrip);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &t.compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric);
    TIFFGetField(tif, TIFFTAG_PLANARCONFIG, &t.planar);
    TIFFGetField(tif, TIFFTAG_ORIENTATION, &t.orientation);
    uint16_t *r, *g, *b;
    t.hasMap = TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) != 0;
    TIFFClose(tif);
    return t;
}

UINT setting_for(int bpp) {
    switch (bpp) {
        case 1: return SET_TIF_1_BIT_COMPRESSION;
        case 4: return SET_TIF_4_BIT_COMPRESSION;
        case 8: return SET_TIF_8_BIT_COMPRESSION;
        case 16: return SET_TIF_16_BIT_COMPRESSION;
        default: return SET_TIF_24_BIT_COMPRESSION;
    }
}

HGLOBAL pattern_image(int w, int h, int dibBpp, bool fiveBit = false) {
    auto v = [=](int x, int y) -> unsigned {
        unsigned c = (unsigned)((x / 3 + y) % 7 * 0x2F1A37 + (x > w / 2 ? x * 0x030507 : 0));
        if (dibBpp <= 8) return (unsigned)(x * 3 + y * 5 + x / 4) % (1u << dibBpp);
        return fiveBit ? c & 0xF8F8F8 : c;
    };
    return make_dib(w, h, dibBpp, dibBpp <= 8 ? 1 << dibBpp : 0, v, dibBpp == 1);
}

/* Every depth with every compression setting the writer takes: tags as
   the writer promises, pixels back through our reader and, when it is
   installed, through ImageMagick. */
TEST_F(TiffTest, WriterRoundTripsEveryDepthAndCompressionSetting) {
    struct Case { int dibBpp, bpp, setting; uint16_t code; } cases[] = {
        {1, 1, -1, 1}, {1, 1, 1, 32773}, {1, 1, 2, 2}, {1, 1, 3, 3}, {1, 1, 4, 4},
        {4, 4, -1, 1}, {4, 4, 1, 32773}, {8, 8, -1, 1}, {8, 8, 1, 32773},
        {24, 16, -1, 1}, {24, 16, 1, 32773}, {24, 24, -1, 1}, {24, 24, 1, 32773},
        {32, 32, -1, 1}, {32, 32, 1, 32773},
    };
    const int w = 37, h = 19;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.bpp << "-bit, setting " << c.setting);
        boxes().clear();
        if (c.setting >= 0) settings_write(setting_for(c.bpp), c.setting);
        HGLOBAL src = pattern_image(w, h, c.dibBpp, c.bpp == 16);
        Pixels before = pixels_of(src);
        std::string path = dir + "/rt.tif";
        ASSERT_TRUE(save_as("TIF", path, src, 1, c.setting >= 0, c.bpp)) << last_text();
        EXPECT_EQ(pixels_of(src).rgb, before.rgb);
        GlobalFree(src);
        WrittenTags t = tags_of(path);
        EXPECT_EQ(t.width, (uint32_t)w);
        EXPECT_EQ(t.height, (uint32_t)h);
        EXPECT_EQ(t.compression, c.code);
        EXPECT_EQ(t.orientation, 1);
        EXPECT_EQ(t.planar, 1);
        EXPECT_EQ(t.samples, c.bpp == 24 ? 3 : c.bpp == 32 ? 4 : 1);
        EXPECT_EQ(t.bits, c.bpp >= 24 ? 8 : c.bpp);
        EXPECT_EQ(t.photometric, c.bpp == 1 ? 1 : c.bpp <= 8 ? 3 : 2);  // first colour of the table is dark
        EXPECT_EQ(t.hasMap, c.bpp == 4 || c.bpp == 8);
        uint32_t rowBytes = ((uint32_t)t.bits * t.samples * w + 31) / 32 * 4;
        EXPECT_EQ(t.rowsPerStrip, c.code == 4 ? 0xFFFFFFFFu : 14336u / rowBytes);
        HGLOBAL back = load_as("TIF", path);
        ASSERT_NE(back, nullptr) << last_text();
        Pixels after = pixels_of(back);
        GlobalFree(back);
        EXPECT_EQ(after.bpp, c.dibBpp);
        EXPECT_EQ(after.rgb, before.rgb);
        if (c.dibBpp == 32) {
            EXPECT_EQ(after.alpha, before.alpha);
        }
        // The 5-bit layout is this program's own; other readers may not take it.
        // A colour map holds each component times 256, which ImageMagick
        // scales by 1/257: up to one level less.
        if (c.bpp != 16 && have_program("/usr/bin/convert")) {
            Bytes theirs = bytes_of(run_output("/usr/bin/convert '" + path + "' -depth 8 rgb:- 2>/dev/null"));
            ASSERT_EQ(theirs.size(), before.rgb.size()) << "ImageMagick";
            int slack = c.bpp == 4 || c.bpp == 8 ? 1 : 0, worst = 0;
            for (size_t i = 0; i < theirs.size(); i++) worst = std::max(worst, abs(theirs[i] - before.rgb[i]));
            EXPECT_LE(worst, slack) << "ImageMagick";
        }
        EXPECT_TRUE(boxes().empty()) << last_text();
    }
}

TEST_F(TiffTest, BilevelImageWhoseFirstColourIsWhiteIsWrittenWhiteIsZero) {
    HGLOBAL src = make_dib(9, 3, 1, 2, [](int x, int y) { return (unsigned)(x + y) & 1; });
    DibParts d;
    ASSERT_TRUE(dib_open(src, &d));
    d.colors[0] = RGBQUAD{255, 255, 255, 0};
    d.colors[1] = RGBQUAD{0, 0, 0, 0};
    dib_close(&d);
    Pixels before = pixels_of(src);
    std::string path = dir + "/white.tif";
    settings_write(SET_TIF_1_BIT_COMPRESSION, 4);
    ASSERT_TRUE(save_as("TIF", path, src, 0, 1, 1));
    GlobalFree(src);
    EXPECT_EQ(tags_of(path).photometric, 0);
    HGLOBAL back = load_as("TIF", path);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(pixels_of(back).rgb, before.rgb);
    GlobalFree(back);
}

TEST_F(TiffTest, LzwSettingFailsTheSaveWithTheLibrarysMessage) {
    settings_write(SET_TIF_8_BIT_COMPRESSION, 0);
    HGLOBAL src = pattern_image(5, 5, 8);
    std::string path = dir + "/lzw.tif";
    write_file(path, "the old file");
    EXPECT_FALSE(save_as("TIF", path, src, 1, 1, 8));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Patented UNISYS LZW compression not supported");
    EXPECT_EQ(read_file(path), "the old file");
    // Uncompressed, the same setting does not matter.
    boxes().clear();
    EXPECT_TRUE(save_as("TIF", path, src, 1, 0, 8));
    EXPECT_TRUE(boxes().empty());
    GlobalFree(src);
}

TEST_F(TiffTest, FaxCodesRefuseDeeperImagesAndLeaveNoFile) {
    for (int setting : {2, 3, 4}) {
        boxes().clear();
        settings_write(SET_TIF_8_BIT_COMPRESSION, setting);
        HGLOBAL src = pattern_image(6, 4, 8);
        std::string path = dir + "/fax8.tif";
        EXPECT_FALSE(save_as("TIF", path, src, 1, 1, 8));
        GlobalFree(src);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, "Illegal Bits-per-Sample value for Group 3/4");
        EXPECT_FALSE(file_exists(path));
    }
    boxes().clear();
    settings_write(SET_TIF_24_BIT_COMPRESSION, 9);
    HGLOBAL src = pattern_image(6, 4, 24);
    EXPECT_FALSE(save_as("TIF", dir + "/odd.tif", src, 1, 1, 24));
    GlobalFree(src);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unknown data compression algorithm");
}

TEST_F(TiffTest, RowsWiderThanAStripGetAStripEach) {
    // 4000 pixels of 32 bits: 16000 bytes a row, more than 14336.
    HGLOBAL src = make_dib(4000, 3, 32, 0, [](int x, int y) { return (unsigned)(x * 31 + y); });
    Pixels before = pixels_of(src);
    std::string path = dir + "/wide.tif";
    ASSERT_TRUE(save_as("TIF", path, src, 1, 1, 32)) << last_text();
    GlobalFree(src);
    EXPECT_EQ(tags_of(path).rowsPerStrip, 1u);
    HGLOBAL back = load_as("TIF", path);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(pixels_of(back).rgb, before.rgb);
    GlobalFree(back);
}

TEST_F(TiffTest, SavingIntoAMissingFolderSaysSo) {
    HGLOBAL src = pattern_image(3, 3, 8);
    catalogue_set_current_save(format_index("TIF"));
    char path[] = "/nonexistent-folder/x.tif";
    EXPECT_FALSE(TiffSave(path, src, 1, 0, 8));
    GlobalFree(src);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
}

}  // namespace
