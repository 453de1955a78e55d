#include <dirent.h>

#include "tiff_test_support.h"

namespace {

bool ends_with(const std::string &s, const std::string &tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> fixture_stems() {
    std::vector<std::string> stems;
    DIR *d = opendir(kTiffFixtures.c_str());
    if (!d) return stems;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (ends_with(name, ".tif") && name.rfind("refuse_", 0) != 0) stems.push_back(name.substr(0, name.size() - 4));
    }
    closedir(d);
    std::sort(stems.begin(), stems.end());
    return stems;
}

/* The DIB depth each fixture family loads at. */
int expected_depth(const std::string &stem) {
    if (stem.find("bw_") != std::string::npos) return 1;
    if (stem.rfind("gray16", 0) == 0 || stem.rfind("gray8", 0) == 0 || stem.rfind("pal8", 0) == 0) return 8;
    if (stem.rfind("gray", 0) == 0 || stem.find("pal") != std::string::npos) return 4;
    if (stem.rfind("rgba", 0) == 0) return 32;
    return 24;
}

/* What the independent decoder recorded, as the reader must give it:
   16-bit gray by its high bytes, CMYK by the program's ink formula. */
Bytes expected_rgb(const std::string &stem, Bytes *alpha) {
    std::string raw;
    if (file_exists(kTiffFixtures + stem + ".rgb")) return bytes_of(read_file(kTiffFixtures + stem + ".rgb"));
    Bytes rgb;
    if (file_exists(kTiffFixtures + stem + ".g16")) {
        raw = read_file(kTiffFixtures + stem + ".g16");
        for (size_t i = 0; i + 1 < raw.size(); i += 2) rgb.insert(rgb.end(), 3, (BYTE)raw[i]);
    } else if (file_exists(kTiffFixtures + stem + ".cmyk")) {
        raw = read_file(kTiffFixtures + stem + ".cmyk");
        for (size_t i = 0; i + 3 < raw.size(); i += 4) {
            int k = (BYTE)raw[i + 3];
            for (int c = 0; c < 3; c++) rgb.push_back((BYTE)std::max(0, 255 - ((BYTE)raw[i + c] + k)));
        }
    } else {
        raw = read_file(kTiffFixtures + stem + ".rgba");
        for (size_t i = 0; i + 3 < raw.size(); i += 4) {
            rgb.insert(rgb.end(), {(BYTE)raw[i], (BYTE)raw[i + 1], (BYTE)raw[i + 2]});
            alpha->push_back((BYTE)raw[i + 3]);
        }
    }
    return rgb;
}

TEST_F(TiffTest, FixturesFromOtherProgramsLoadToTheirDecodersPixels) {
    std::vector<std::string> stems = fixture_stems();
    ASSERT_GE(stems.size(), 25u);
    for (const std::string &stem : stems) {
        SCOPED_TRACE(stem);
        HGLOBAL dib = load_as("TIF", kTiffFixtures + stem + ".tif");
        ASSERT_NE(dib, nullptr) << last_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        Bytes alpha;
        Bytes expected = expected_rgb(stem, &alpha);
        EXPECT_EQ(p.width, 13);
        EXPECT_EQ(p.height, 7);
        EXPECT_EQ(p.bpp, expected_depth(stem));
        EXPECT_EQ(p.rgb, expected);
        if (!alpha.empty()) {
            EXPECT_EQ(p.alpha, alpha);
        }
        bool gray = stem.rfind("bw_", 0) == 0 || stem.rfind("im_bw", 0) == 0 || stem.rfind("gray", 0) == 0;
        EXPECT_EQ(loadinfo_number(LI_GRAY), gray ? 1u : 0u);
        EXPECT_EQ(loadinfo_number(LI_COMPRESSED), stem.find("_none") == std::string::npos ? 1u : 0u);
        EXPECT_EQ(loadinfo_number(LI_VERSION), 5u);
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(TiffTest, FilesTheReaderRefusesSayWhy) {
    struct Case { const char *stem, *message; } cases[] = {
        {"refuse_lzw", "Patented UNISYS LZW compression not supported"},
        {"refuse_zip", "Unknown data compression algorithm"},
        {"refuse_cmyk_planar", "Unsupported CMYK TIFF file, cannot load"},
        {"refuse_rgb48", "Unsupported TIF format"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stem);
        boxes().clear();
        EXPECT_EQ(load_as("TIF", kTiffFixtures + c.stem + ".tif"), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, c.message);
    }
}

TEST_F(TiffTest, LoadInfoAndProgressRunOverEveryPlane) {
    static std::vector<int> *seen;
    std::vector<int> steps;
    seen = &steps;
    LoadPanelHooks hooks = {};
    hooks.progress = [](DWORD step, DWORD) { seen->push_back((int)step); };
    load_panel_set_hooks(&hooks);
    HGLOBAL dib = load_as("TIF", kTiffFixtures + "rgb_planar_packbits.tif");
    load_panel_set_hooks(nullptr);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    // 7 rows in each of 3 planes: steps at 16 and at the last of 21.
    EXPECT_EQ(steps, (std::vector<int>{0, 16, 21}));
    EXPECT_EQ(loadinfo_number(LI_PLANES), 3u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);
    EXPECT_EQ(loadinfo_number(LI_TYPE), 0u);
}

TEST_F(TiffTest, SixteenBitGrayLoadsAsEightBitGrayFromTheHighBytes) {
    HGLOBAL dib = load_as("TIF", kTiffFixtures + "gray16_packbits.tif");
    ASSERT_NE(dib, nullptr);
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.bpp, 8);
    ASSERT_EQ(p.table.size(), 256u);
    for (int i = 0; i < 256; i++) EXPECT_EQ(p.table[i].rgbRed, i);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);
    EXPECT_EQ(loadinfo_number(LI_GRAY), 1u);
}

TEST_F(TiffTest, WithoutPhotometricOneEightBitSampleIsAGrayRamp) {
    Bytes pixels = {0, 1, 128, 255};
    HGLOBAL dib = decode(build_tiff(basic_tags(4, 1, 8, 1, -1), pixels));
    ASSERT_NE(dib, nullptr) << last_text();
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.bpp, 8);
    EXPECT_EQ(p.rgb, (Bytes{0, 0, 0, 1, 1, 1, 128, 128, 128, 255, 255, 255}));
    EXPECT_EQ(loadinfo_number(LI_GRAY), 1u);
}

TEST_F(TiffTest, PaletteOfEightBitValuesIsTakenAsItIsSixteenBitByHighBytes) {
    for (uint32_t scale : {1u, 257u}) {
        SCOPED_TRACE(scale);
        TiffTags t = basic_tags(4, 1, 2, 1, 3);
        std::vector<uint32_t> map;
        uint32_t red[4] = {10, 20, 30, 255}, green[4] = {0, 50, 100, 150}, blue[4] = {200, 0, 7, 1};
        for (uint32_t *c : {red, green, blue})
            for (int i = 0; i < 4; i++) map.push_back(c[i] * scale);
        t[320] = shorts(map);
        HGLOBAL dib = decode(build_tiff(t, Bytes{0x1B}));  // indices 0 1 2 3
        ASSERT_NE(dib, nullptr) << last_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.bpp, 4);
        EXPECT_EQ(p.rgb, (Bytes{10, 0, 200, 20, 50, 0, 30, 100, 7, 255, 150, 1}));
    }
}

TEST_F(TiffTest, GrayResponseCurveGivesTheTableForEitherPolarity) {
    // Densities in hundredths: 2.00, 1.00, 0.30, 0.00 -> 1%, 10%, 50%, 100%.
    for (int photometric : {0, 1}) {
        SCOPED_TRACE(photometric);
        TiffTags t = basic_tags(4, 1, 2, 1, photometric);
        t[291] = shorts(photometric == 1 ? std::vector<uint32_t>{200, 100, 30, 0} : std::vector<uint32_t>{0, 30, 100, 200});
        HGLOBAL dib = decode(build_tiff(t, Bytes{0x1B}));
        ASSERT_NE(dib, nullptr) << last_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        // The darkest end is black; 10% is 25, 50% is 128, 100% is 255.
        Bytes levels = photometric == 1 ? Bytes{0, 25, 128, 255} : Bytes{255, 128, 25, 0};
        for (int i = 0; i < 4; i++) EXPECT_EQ(p.table[i].rgbGreen, levels[i]) << i;
    }
}

TEST_F(TiffTest, SixteenBitRgbIsTheFiveBitLayoutThisWriterMakes) {
    // Words 0x7C00 (red), 0x03E0 (green), 0x001F (blue), 0x4210.
    Bytes pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42};
    HGLOBAL dib = decode(build_tiff(basic_tags(4, 1, 16, 1, 2), pixels));
    ASSERT_NE(dib, nullptr) << last_text();
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.bpp, 24);
    EXPECT_EQ(p.rgb, (Bytes{248, 0, 0, 0, 248, 0, 0, 0, 248, 128, 128, 128}));
}

TEST_F(TiffTest, AWarningAloneDoesNotFailALoad) {
    TiffTags t = basic_tags(2, 1, 8, 1, 1);
    t[65000] = shorts({1});  // a tag nobody knows: the library warns
    t[262] = shorts({1});
    HGLOBAL dib = decode(build_tiff(t, Bytes{5, 6}));
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

}  // namespace
