#include "codecs/ras/ras.h"
#include "raster_test_helpers.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/ras/";

struct RasTest : RasterCodecTest {
    RasTest() : RasterCodecTest("RAS", RasDecode) {}
};

/* A 32-byte header followed by `rest`. */
Bytes ras(unsigned w, unsigned h, unsigned depth, unsigned type, Bytes rest, unsigned mapType = 0, unsigned mapLen = 0,
          unsigned magic = 0x59A66A95u) {
    Bytes f;
    for (unsigned v : {magic, w, h, depth, 0u, type, mapType, mapLen}) put_u32be(f, v);
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

TEST_F(RasTest, FixturesFromOtherProgramsLoadToTheirDecodersPixels) {
    int checked = 0;
    for (const std::string &name : files_ending(kFixtures, ".ras")) {
        if (name == "im_rgba32.ras") continue;
        SCOPED_TRACE(name);
        Pnm ref;
        ASSERT_TRUE(parse_pnm(read_file(kFixtures + name.substr(0, name.size() - 4) + ".pnm"), &ref));
        HGLOBAL dib = load_as("RAS", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.width, ref.width);
        EXPECT_EQ(p.height, ref.height);
        EXPECT_EQ(p.rgb, pnm_rgb(ref, [](unsigned v, unsigned m) { return m == 1 ? v * 255 : v * 255 / m; }));
        bool mono = name.find("mono1") != std::string::npos, rgb = name.find("rgb24") != std::string::npos;
        EXPECT_EQ(p.bpp, mono ? 1 : rgb ? 24 : 8);
        EXPECT_EQ(loadinfo_number(LI_GRAY), mono ? 1u : 0u);
        EXPECT_EQ(loadinfo_number(LI_COMPRESSED), name.find("_rle_") != std::string::npos ? 1u : 0u);
        checked++;
    }
    EXPECT_GE(checked, 11);
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(RasTest, ThirtyTwoBitRastersAreUnsupported) {
    Bytes f = bytes_of(read_file(kFixtures + "im_rgba32.ras"));
    expect_refused(f, "Unsupported RAS format");
}

TEST_F(RasTest, LoadInfoProgressAndTheMonochromeTable) {
    static std::vector<int> *seen;
    std::vector<int> steps;
    seen = &steps;
    LoadPanelHooks hooks = {};
    hooks.progress = [](DWORD step, DWORD) { seen->push_back((int)step); };
    load_panel_set_hooks(&hooks);
    load_panel_open("Loading...", "x.ras");
    Bytes rows;
    for (int y = 0; y < 33; y++) rows.insert(rows.end(), {(unsigned char)(y & 1 ? 0x80 : 0x40), 0});
    HGLOBAL dib = decode(ras(3, 33, 1, 1, rows));
    load_panel_set_hooks(nullptr);
    ASSERT_NE(dib, nullptr);
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(steps, (std::vector<int>{0, 16, 32, 33}));
    ASSERT_EQ(p.table.size(), 2u);
    EXPECT_EQ(p.table[0].rgbRed, 255);  // 0 is white, 1 black
    EXPECT_EQ(p.table[1].rgbRed, 0);
    EXPECT_EQ(p.index[0], 0);
    EXPECT_EQ(p.index[1], 1);  // row 0: 0100 0000
    EXPECT_EQ(p.index[3], 1);  // row 1: 1000 0000
    EXPECT_EQ(loadinfo_number(LI_PLANES), 1u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 1u);
    EXPECT_EQ(loadinfo_number(LI_VERSION), 1u);
    EXPECT_EQ(loadinfo_number(LI_TYPE), 0u);
    EXPECT_EQ(loadinfo_number(LI_WIDTH), 3u);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "SUN");
    load_panel_close();
}

TEST_F(RasTest, EncodedRowsEscapesAndRunsAcrossRows) {
    // 3 x 2, 8 bits, rows of 4 bytes: 0x80 0 is one 0x80, 0x80 n v is n + 1
    // copies of v; the run of 5 sevens crosses into the second row.
    Bytes data = {0x80, 0x00, 0x01, 0x02, 0x80, 0x04, 0x07, 0x09};
    Pixels p;
    ASSERT_TRUE(decode_pixels(ras(3, 2, 8, 2, data), &p));
    EXPECT_EQ(p.index, (Bytes{0x80, 1, 2, 7, 7, 7}));
    EXPECT_EQ(p.table[0x80].rgbRed, 0x80);  // gray ramp without a map
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RasTest, RunPastTheLastRowAsksWhetherToContinue) {
    Bytes f = ras(2, 1, 8, 2, {0x80, 0x05, 0x33});  // 6 copies for 2 bytes
    for (int answer : {IDNO, IDYES}) {
        boxes().clear();
        box_answer() = answer;
        HGLOBAL dib = decode(f);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, "Possible errors encountered while reading\nfile, Continue loading this file?");
        EXPECT_EQ(boxes()[0].caption, "Warning");
        EXPECT_EQ(dib != nullptr, answer == IDYES);
        if (dib) GlobalFree(dib);
    }
    batch_set_running(1);
    boxes().clear();
    box_answer() = IDNO;
    EXPECT_EQ(decode(f), nullptr);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, "\n\nCancel Batch?");
    batch_set_running(0);
}

TEST_F(RasTest, HeaderAndMapRefusals) {
    expect_refused(Bytes{0x59, 0xA6, 0x6A}, "Not a legal RAS file");
    expect_refused(ras(2, 2, 8, 1, Bytes(8), 0, 0, 0x59A66A96u), "Not a legal RAS file");
    expect_refused(ras(2, 2, 4, 1, Bytes(8)), "Unsupported RAS format");
    expect_refused(ras(2, 2, 32, 1, Bytes(32)), "Unsupported RAS format");
    expect_refused(ras(2, 2, 16, 1, Bytes(8)), "Unsupported RAS format");
    expect_refused(ras(2, 2, 8, 4, Bytes(8)), "Unsupported RAS format");
    expect_refused(ras(2, 2, 8, 1, Bytes(769 + 8), 1, 769), "Illegal colormap in RAS file");
    expect_refused(ras(2, 2, 1, 1, Bytes(9 + 8), 1, 9), "Illegal colormap in RAS file");
    expect_refused(ras(70000, 2, 8, 1, Bytes(8)), "Not enough memory to load RAS image");
    expect_refused(ras(60000, 60000, 24, 1, Bytes(8)), "Not enough memory to load RAS image");
    expect_refused(ras(3, 2, 8, 1, Bytes(7)), "Incomplete RAS file, cannot load");
    expect_refused(ras(3, 2, 8, 2, {0x80, 0x02, 0x01, 0x80}), "Incomplete RAS file, cannot load");
    expect_refused(ras(2, 2, 8, 1, Bytes(8), 1, 12), "Incomplete RAS file, cannot load");  // map cut short
}

TEST_F(RasTest, MapsOnDeepRastersAreAnnouncedAndIgnored) {
    Bytes map(768);
    for (int i = 0; i < 768; i++) map[i] = (unsigned char)(255 - i % 256);
    Bytes rgb = map;
    rgb.insert(rgb.end(), {1, 2, 3, 4, 5, 6});  // two pixels, red-green-blue order in type 3
    boxes().clear();
    HGLOBAL dib = decode(ras(2, 1, 24, 3, rgb, 1, 768));
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Ignoring colormap in 24-bit RAS image");
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.bpp, 24);
    EXPECT_EQ(p.rgb, (Bytes{1, 2, 3, 4, 5, 6}));

    Bytes deep = map;
    deep.insert(deep.end(), {0x00, 0x03, 0xFF, 0x20, 0x00, 0x0F, 0x00, 0x00});  // 3 pixels, padded to 8 bytes
    boxes().clear();
    dib = decode(ras(3, 1, 16, 1, deep, 1, 768));
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Ignoring colormap in 16-bit RAS image");
    p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.bpp, 8);
    EXPECT_EQ(p.index, (Bytes{51, 255, 255}));  // second byte times 17, kept within a byte
}

TEST_F(RasTest, MapGivesTheTableInPlanes) {
    Bytes f = ras(2, 1, 8, 1, {10, 20, 30, 40, 50, 60, 1, 0}, 1, 6);  // reds, greens, blues of 2 colours
    Pixels p;
    ASSERT_TRUE(decode_pixels(f, &p));
    EXPECT_EQ(p.rgb, (Bytes{20, 40, 60, 10, 30, 50}));
}

TEST_F(RasTest, WriterRoundTripsEveryDepthWithTheHeaderItPromises) {
    struct Case {
        int bpp, colors, color, width, fileDepth;
    } cases[] = {{1, 2, 0, 17, 1}, {4, 16, 1, 9, 8}, {8, 256, 1, 13, 8}, {8, 200, 0, 5, 8}, {24, 0, 1, 7, 24},
                 {24, 0, 0, 6, 24}, {32, 0, 1, 5, 24}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bpp * 1000 + c.width);
        int h = 5;
        HGLOBAL src = make_dib(c.width, h, c.bpp, c.colors, [&](int x, int y) {
            return c.bpp >= 24 ? pattern_rgb(x, y) : (unsigned)(x * 7 + y * 3) % (unsigned)c.colors;
        }, c.color == 0);
        ASSERT_NE(src, nullptr);
        std::string name = "rt" + std::to_string(c.bpp) + "_" + std::to_string(c.width) + ".ras";
        Pixels back = round_trip(src, c.color, c.bpp, name);
        Pixels want = pixels_of(src);
        GlobalFree(src);
        EXPECT_EQ(back.rgb, want.rgb);
        Bytes f = bytes_of(read_file(dir + "/" + name));
        ASSERT_GE(f.size(), 32u);
        auto u32 = [&](int i) { return (unsigned)(f[i] << 24 | f[i + 1] << 16 | f[i + 2] << 8 | f[i + 3]); };
        size_t rowBytes = ((size_t)c.fileDepth * c.width + 15) / 16 * 2;
        unsigned mapLen = c.fileDepth == 24 ? 0 : 3u * (c.bpp == 4 ? 16 : c.colors);
        EXPECT_EQ(u32(0), 0x59A66A95u);
        EXPECT_EQ(u32(12), (unsigned)c.fileDepth);
        EXPECT_EQ(u32(16), rowBytes * h);
        EXPECT_EQ(u32(20), 1u);
        EXPECT_EQ(u32(24), c.fileDepth == 24 ? 0u : 1u);
        EXPECT_EQ(u32(28), mapLen);
        EXPECT_EQ(f.size(), 32 + mapLen + rowBytes * h);
    }
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(RasTest, OurFilesReadTheSameInOtherPrograms) {
    PnmReader tools[] = {{"rasttopnm", "rasttopnm '%s'"}, {"/usr/bin/convert", "/usr/bin/convert 'sun:%s' ppm:-"},
                     {"gm", "gm convert 'sun:%s' ppm:-"}};
    HGLOBAL images[] = {
        make_dib(17, 4, 1, 2, [](int x, int y) { return (unsigned)(x + y) % 3 == 0; }, true),
        make_dib(11, 4, 8, 256, [](int x, int y) { return (unsigned)(x * 29 + y * 7) & 255; }),
        make_dib(9, 4, 24, 0, pattern_rgb)};
    int ran = 0;
    for (HGLOBAL src : images) {
        Pixels want = pixels_of(src);
        std::string path = dir + "/ours" + std::to_string(want.bpp) + ".ras";
        ASSERT_EQ(save_as("RAS", path, src, 1, 0, want.bpp), 1);
        GlobalFree(src);
        for (const PnmReader &t : tools) {
            // The Magick readers show pixel 1 of a 1-bit raster as map
            // entry 0 whatever the map says; netpbm follows the map.
            if (want.bpp == 1 && strcmp(t.program, "rasttopnm") != 0) continue;
            SCOPED_TRACE(std::string(t.program) + " " + path);
            Pnm ref;
            if (!read_with(t, path, &ref)) continue;
            EXPECT_EQ(pnm_rgb(ref, [](unsigned v, unsigned m) { return m == 1 ? v * 255 : v * 255 / m; }), want.rgb);
            ran++;
        }
    }
    if (!ran) GTEST_SKIP() << "no independent Sun raster reader installed";
}

TEST_F(RasTest, WriterFailuresDeleteNothingTheyDidNotMake) {
    HGLOBAL src = make_dib(4, 4, 8, 256, [](int x, int) { return (unsigned)x; });
    boxes().clear();
    std::string path = dir + "/missing/dir/x.ras";
    EXPECT_EQ(RasSave(&path[0], src, 1, 0, 8), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
    GlobalFree(src);
}

}  // namespace
