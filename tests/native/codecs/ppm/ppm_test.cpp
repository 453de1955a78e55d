#include "codecs/ppm/ppm.h"
#include "codecs/ppm/ppm_pixels.h"
#include "raster_test_helpers.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/ppm/";

struct PpmTest : RasterCodecTest {
    PpmTest() : RasterCodecTest("PPM", PpmDecode) {}
    Pixels decode_ok(const std::string &text) { return RasterCodecTest::decode_ok(bytes_of(text)); }
};

TEST_F(PpmTest, FixturesFromOtherProgramsLoadToTheirDecodersPixels) {
    int checked = 0;
    for (const std::string &name : files_ending(kFixtures, ".ppm")) {
        SCOPED_TRACE(name);
        if (name.find("bitmap") != std::string::npos) {
            // Bitmaps are not among the variants the reader takes.
            expect_refused(bytes_of(read_file(kFixtures + name)), "Not a legal PPM format file");
            continue;
        }
        Pnm ref;
        ASSERT_TRUE(parse_pnm(read_file(kFixtures + name.substr(0, name.size() - 4) + ".pnm"), &ref));
        HGLOBAL dib = load_as("PPM", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.width, ref.width);
        EXPECT_EQ(p.height, ref.height);
        EXPECT_EQ(p.rgb, pnm_rgb(ref, scale_down));  // v x 255 / maximum
        EXPECT_EQ(p.bpp, ref.channels == 1 ? 8 : 24);
        EXPECT_EQ(loadinfo_number(LI_GRAY), ref.channels == 1 ? 1u : 0u);
        EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), ref.channels == 1 ? 8u : 24u);
        EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 0u);
        EXPECT_EQ(loadinfo_number(LI_VERSION), 1u);
        checked++;
    }
    EXPECT_GE(checked, 15);
}

TEST_F(PpmTest, HeaderParsingCommentsAndScaling) {
    Pixels p = decode_ok("P2 # gray\n#c\n3 # w\n1\n# max\n 4\n0 2\n4");
    EXPECT_EQ(p.index, (Bytes{0, 127, 255}));
    EXPECT_EQ(p.table[200].rgbGreen, 200);  // gray ramp
    p = decode_ok("P3\n1 1\n255\n7   8\t9\n");
    EXPECT_EQ(p.rgb, (Bytes{7, 8, 9}));
    p = decode_ok(std::string("P5\n2 1\n300\n\x01\x2C\x00\x96", 15));  // 300 and 150, two bytes each
    EXPECT_EQ(p.index, (Bytes{255, 127}));
    p = decode_ok("P2\n2 1\n10\n10 700\n");  // samples beyond the maximum count as the maximum
    EXPECT_EQ(p.index, (Bytes{255, 255}));
    p = decode_ok(std::string("P6 1 1 255\n\x0A\x0B\x0C", 14));
    EXPECT_EQ(p.rgb, (Bytes{10, 11, 12}));
}

TEST_F(PpmTest, IllegalFiles) {
    expect_refused(Bytes{}, "Not a legal PPM file");
    expect_refused(bytes_of("Q6\n1 1\n255\n"), "Not a legal PPM file");
    expect_refused(bytes_of("P7\n1 1\n255\n"), "Not a legal PPM format file");
    expect_refused(bytes_of("P4\n8 1\n\xff"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n1\n"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\nx 1 255\n"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n0 1 255\nabc"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n1 1 0\nabc"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n1 1 65536\nabc"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n1 1 99999999999999999999\nabc"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n1 1 255"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n2 1 255\nabcde"), "Not a legal PPM format file");  // short raster
    expect_refused(bytes_of("P3\n2 1 255\n1 2 3 4 x 6 7"), "Not a legal PPM format file");
    expect_refused(bytes_of("P3\n2 1 255\n1 2 3 4 5"), "Not a legal PPM format file");
    expect_refused(bytes_of("P6\n70000 1 255\n"), "Not enough memory to load PPM image");
    expect_refused(bytes_of("P6\n99999999 1 255\n"), "Not enough memory to load PPM image");
    expect_refused(bytes_of("P6\n20000 20000 255\nabc"), "Not a legal PPM format file");
}

TEST_F(PpmTest, WriterRoundTripsAndWritesTheHeaderItIsTold) {
    struct Case {
        int bpp, colors, color;
        const char *magic;
    } cases[] = {{24, 0, 1, "P6"}, {24, 0, 0, "P5"}, {8, 256, 1, "P6"}, {8, 256, 0, "P5"},
                 {1, 2, 1, "P6"},  {4, 16, 1, "P6"}, {4, 16, 0, "P5"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.bpp) + c.magic);
        HGLOBAL src = make_dib(13, 5, c.bpp, c.colors, [&](int x, int y) {
            return c.bpp == 24 ? pattern_rgb(x, y) : (unsigned)(x * 3 + y) % (unsigned)c.colors;
        }, c.color == 0);
        std::string name = "rt" + std::to_string(c.bpp) + "_" + std::to_string(c.color) + ".ppm";
        Pixels back = round_trip(src, c.color, c.bpp, name);
        Pixels want = pixels_of(src);
        GlobalFree(src);
        std::string file = read_file(dir + "/" + name);
        EXPECT_EQ(file.substr(0, 12), std::string(c.magic) + "\n13 5\n255\n");
        EXPECT_EQ(file.size(), 12u + 13 * 5 * (c.color ? 3 : 1));
        if (c.color) {
            EXPECT_EQ(back.rgb, want.rgb);
        } else {
            for (size_t i = 0; i < want.rgb.size(); i += 3)
                ASSERT_EQ(back.rgb[i], c.bpp == 24 ? want.rgb[i + 2] : want.rgb[i]) << i;
        }
    }
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(PpmTest, NarrowColourRowsKeepEveryByte) {
    for (int w : {1, 2, 3}) {
        SCOPED_TRACE(w);
        HGLOBAL src = make_dib(w, 2, 24, 0, pattern_rgb);
        Pixels want = pixels_of(src);
        Pixels back = round_trip(src, 1, 24, "narrow" + std::to_string(w) + ".ppm");
        GlobalFree(src);
        EXPECT_EQ(back.rgb, want.rgb);
    }
}

/* Every width through the shuffle's four- and sixteen-pixel steps and its
   tail: each pixel swapped, nothing touched past either row. */
TEST(PpmPixels, SwapMatchesAByteReferenceAtEveryWidth) {
    for (DWORD w = 1; w <= 70; w++) {
        SCOPED_TRACE(w);
        Bytes src(3 * w), dst(3 * w + 8, 0xEE); // an over-read of src shows under ASan
        for (size_t i = 0; i < src.size(); i++) src[i] = (BYTE)(i * 37 + 11);
        swap_red_blue_copy(src.data(), dst.data(), w);
        for (DWORD x = 0; x < w; x++) {
            ASSERT_EQ(dst[3 * x], src[3 * x + 2]);
            ASSERT_EQ(dst[3 * x + 1], src[3 * x + 1]);
            ASSERT_EQ(dst[3 * x + 2], src[3 * x]);
        }
        for (size_t i = 3 * w; i < dst.size(); i++) ASSERT_EQ(dst[i], 0xEE) << "byte " << i;
    }
}

TEST_F(PpmTest, ThirtyTwoBitImagesAreRefused) {
    HGLOBAL src = make_dib(3, 3, 32, 0, pattern_rgb);
    std::string path = dir + "/x.ppm";
    EXPECT_EQ(save_as("PPM", path, src, 1, 0, 32), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot save 32-bit PPM files");
    EXPECT_FALSE(file_exists(path));
    GlobalFree(src);
    boxes().clear();
    src = make_dib(3, 3, 24, 0, pattern_rgb);
    path = dir + "/missing/x.ppm";
    EXPECT_EQ(PpmSave(&path[0], src, 1, 0, 24), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
    GlobalFree(src);
}

TEST_F(PpmTest, OurFilesReadTheSameInOtherPrograms) {
    PnmReader tools[] = {{"pnmtopnm", "pnmtopnm '%s'"}, {"/usr/bin/convert", "/usr/bin/convert '%s' ppm:-"},
                     {"gm", "gm convert '%s' ppm:-"}};
    int ran = 0;
    for (int color : {1, 0}) {
        HGLOBAL src = make_dib(21, 6, 24, 0, pattern_rgb);
        Pixels want = pixels_of(src);
        std::string path = dir + "/ours" + std::to_string(color) + ".ppm";
        ASSERT_EQ(save_as("PPM", path, src, color, 0, 24), 1);
        GlobalFree(src);
        if (!color)
            for (size_t i = 0; i < want.rgb.size(); i += 3) want.rgb[i] = want.rgb[i + 1] = want.rgb[i + 2];
        for (const PnmReader &t : tools) {
            SCOPED_TRACE(std::string(t.program) + " " + path);
            Pnm ref;
            if (!read_with(t, path, &ref)) continue;
            EXPECT_EQ(pnm_rgb(ref, scale_down), want.rgb);
            ran++;
        }
    }
    if (!ran) GTEST_SKIP() << "no independent PNM reader installed";
}

}  // namespace
