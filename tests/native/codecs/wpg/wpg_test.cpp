#include "codecs/wpg/wpg.h"
#include "raster_test_helpers.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/wpg/";

struct WpgTest : RasterCodecTest {
    WpgTest() : RasterCodecTest("WPG", WpgDecode) {}
};

/* A record with its length in the shortest form, or the one asked for
   (1: byte, 2: 0xFF and a word, 4: 0xFF and two words). */
Bytes record(int type, const Bytes &body, int form = 0) {
    Bytes r = {(unsigned char)type};
    size_t n = body.size();
    if (!form) form = n < 0xFF ? 1 : n < 0x8000 ? 2 : 4;
    if (form == 1) {
        r.push_back((unsigned char)n);
    } else if (form == 2) {
        r.push_back(0xFF);
        put_u16le(r, (unsigned)n);
    } else {
        r.push_back(0xFF);
        put_u16le(r, 0x8000 | (unsigned)(n >> 16));
        put_u16le(r, (unsigned)n & 0xFFFF);
    }
    r.insert(r.end(), body.begin(), body.end());
    return r;
}

Bytes prefix(int fileType = 0x16, int major = 1) {
    return {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, (unsigned char)fileType, (unsigned char)major, 0, 0, 0, 0, 0};
}

Bytes bitmap1(int w, int h, int depth, const Bytes &data, int form = 0) {
    Bytes b;
    for (int v : {w, h, depth, 75, 75}) put_u16le(b, (unsigned)v);
    b.insert(b.end(), data.begin(), data.end());
    return record(0x0B, b, form);
}

Bytes colormap(int first, const std::vector<unsigned> &rgb) {
    Bytes b;
    put_u16le(b, (unsigned)first);
    put_u16le(b, (unsigned)rgb.size());
    for (unsigned c : rgb) b.insert(b.end(), {(unsigned char)(c >> 16), (unsigned char)(c >> 8), (unsigned char)c});
    return record(0x0E, b);
}

Bytes wpg(std::initializer_list<Bytes> records, Bytes head = prefix()) {
    Bytes f = head;
    f.insert(f.end(), {0x0F, 6, 1, 0, 0, 1, 0, 1});  // start record
    for (const Bytes &r : records) f.insert(f.end(), r.begin(), r.end());
    f.insert(f.end(), {0x10, 0});
    return f;
}

TEST_F(WpgTest, EveryRunLengthCodeAndLengthForm) {
    // 8 bits, 3 x 4, rows of 3 bytes:
    // row 0: copy 2 bytes, one run of 1;  row 1: 3 copies of 9 (0x83);
    // row 2: row repeated once (0x00 0x01); row 3: 0x80 0x03 gives three 0xFF.
    Bytes data = {0x02, 5, 6, 0x81, 7, 0x83, 9, 0x00, 0x01, 0x80, 0x03};
    for (int form : {1, 2, 4}) {
        SCOPED_TRACE(form);
        Pixels p = decode_ok(wpg({colormap(0, {0x000000}), bitmap1(3, 4, 8, data, form)}));
        EXPECT_EQ(p.bpp, 8);
        EXPECT_EQ(p.index, (Bytes{5, 6, 7, 9, 9, 9, 9, 9, 9, 255, 255, 255}));
    }
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "IBMPC");
}

TEST_F(WpgTest, DepthsMapsAndTheSecondBitmapRecord) {
    // 1 bit without a map: black and white.
    Pixels p = decode_ok(wpg({bitmap1(10, 1, 1, {0x02, 0xA0, 0x40})}));
    EXPECT_EQ(p.bpp, 1);
    EXPECT_EQ(p.index, (Bytes{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(p.table[1].rgbRed, 255);
    // 2 bits widen to 4.
    p = decode_ok(wpg({bitmap1(5, 1, 2, {0x02, 0x1B, 0xC0})}));
    EXPECT_EQ(p.bpp, 4);
    EXPECT_EQ(p.index, (Bytes{0, 1, 2, 3, 3}));
    // 4 bits with part of a map from index 2; bitmap type 2 skips its corners.
    Bytes b2;
    for (int v : {0, 0, 0, 100, 100, 4, 1, 4, 75, 75}) put_u16le(b2, (unsigned)v);
    b2.insert(b2.end(), {0x02, 0x23, 0x4F});
    p = decode_ok(wpg({colormap(2, {0x112233, 0x445566}), record(0x14, b2)}));
    EXPECT_EQ(p.bpp, 4);
    EXPECT_EQ(p.index, (Bytes{2, 3, 4, 15}));
    EXPECT_EQ(p.rgb[0], 0x11);
    EXPECT_EQ(p.rgb[3], 0x44);
    // Records before the bitmap that the reader does not know are skipped.
    p = decode_ok(wpg({record(0x16, Bytes(300, 0x55)), bitmap1(2, 1, 8, {0x82, 4})}));
    EXPECT_EQ(p.index, (Bytes{4, 4}));
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(WpgTest, IllegalDamagedAndVectorFiles) {
    Bytes good = bitmap1(2, 2, 8, {0x82, 1, 0x00, 0x01});
    expect_refused(Bytes{0xFF, 'W', 'P'}, "Not a legal WPG file");
    expect_refused(wpg({good}, {0xFF, 'W', 'P', 'D', 16, 0, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0}), "Not a legal WPG file");
    expect_refused(wpg({good}, prefix(0x17)), "Illegal or Unsupported WPG file format");
    expect_refused(wpg({good}, prefix(0x16, 2)), "Unsupported WPG format");
    expect_refused(wpg({good}, {0xFF, 'W', 'P', 'C', 0, 1, 0, 0, 1, 0x16, 1, 0, 0, 0, 0, 0}),
                   "Illegal or Unsupported WPG file format");
    expect_refused(wpg({record(0x05, Bytes(8))}), "This WPG file does not contain a RASTER image");
    expect_refused(wpg({bitmap1(2, 2, 3, {0x82, 1, 0x82, 1})}), "Unsupported WPG format");
    expect_refused(wpg({bitmap1(0, 2, 8, {0x82, 1})}), "Illegal or Unsupported WPG file format");
    Bytes cut = wpg({good});
    cut.resize(cut.size() - 5);  // the bitmap record runs past the end
    expect_refused(cut, "Illegal or Unsupported WPG file format");
    expect_refused(wpg({bitmap1(2, 2, 8, {0x82, 1})}), "Error decompressing WPG file, cannot load");
    expect_refused(wpg({bitmap1(2, 2, 8, {0x00, 0x01})}), "Error decompressing WPG file, cannot load");
    expect_refused(wpg({bitmap1(4, 2, 8, {0x81, 1, 0x00, 0x01})}), "Error decompressing WPG file, cannot load");
    expect_refused(wpg({bitmap1(2, 2, 8, {0x05, 1, 2, 3})}), "Error decompressing WPG file, cannot load");
    expect_refused(wpg({bitmap1(65535, 65535, 8, {0x82, 1})}), "Error decompressing WPG file, cannot load");
    // A cap on the image a caller takes in bulk.
    boxes().clear();
    HGLOBAL dib = NULL;
    Bytes big = wpg({bitmap1(2000, 2000, 8, Bytes(40, 0))});
    EXPECT_EQ(WpgDecodeCapped(big.data(), big.size(), 1 << 20, &dib), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Not enough memory to load WPG image");
}

TEST_F(WpgTest, WriterRoundTripsEveryDepthItTakes) {
    struct Case {
        int bpp, colors, color, width;
    } cases[] = {{1, 2, 0, 300}, {4, 16, 1, 33}, {4, 16, 0, 7}, {8, 256, 1, 301}, {8, 200, 0, 5}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bpp * 1000 + c.width);
        // Equal rows in a row test the row repeats; runs longer than 127 too.
        HGLOBAL src = make_dib(c.width, 300, c.bpp, c.colors, [&](int x, int y) {
            int band = y < 280 ? y / 70 : y;
            return (unsigned)((x < 150 ? x / 50 : x) + band) % (unsigned)c.colors;
        }, c.color == 0);
        std::string name = "rt" + std::to_string(c.bpp) + "_" + std::to_string(c.width) + ".wpg";
        Pixels back = round_trip(src, c.color, c.bpp, name, 1);
        Pixels want = pixels_of(src);
        GlobalFree(src);
        EXPECT_EQ(back.bpp, c.bpp);
        EXPECT_EQ(back.index, want.index);
        EXPECT_EQ(back.rgb, want.rgb);
    }
    HGLOBAL deep = make_dib(3, 3, 24, 0, pattern_rgb);
    boxes().clear();
    EXPECT_EQ(save_as("WPG", dir + "/deep.wpg", deep, 1, 1, 24), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unsupported WPG format");
    GlobalFree(deep);
}

/* No installed program writes WPG files; ImageMagick and GraphicsMagick
   read them, so our files are checked there. */
TEST_F(WpgTest, OurFilesReadTheSameInOtherPrograms) {
    PnmReader tools[] = {{"/usr/bin/convert", "/usr/bin/convert 'wpg:%s' ppm:-"}, {"gm", "gm convert 'wpg:%s' ppm:-"}};
    HGLOBAL images[] = {
        make_dib(19, 40, 1, 2, [](int x, int y) { return (unsigned)(y < 20 ? x & 1 : x / 7) & 1; }, true),
        make_dib(21, 30, 4, 16, [](int x, int y) { return (unsigned)(x / 3 + (y < 15 ? 0 : y)) % 16; }),
        make_dib(300, 40, 8, 256, [](int x, int y) { return (unsigned)(x < 200 ? x / 50 : x + (y > 30 ? y : 0)) & 255; })};
    int ran = 0;
    for (HGLOBAL src : images) {
        Pixels want = pixels_of(src);
        std::string path = dir + "/ours" + std::to_string(want.bpp) + ".wpg";
        ASSERT_EQ(save_as("WPG", path, src, 1, 1, want.bpp), 1) << last_box_text();
        GlobalFree(src);
        for (const PnmReader &t : tools) {
            SCOPED_TRACE(std::string(t.program) + " " + path);
            Pnm ref;
            if (!read_with(t, path, &ref)) continue;
            EXPECT_EQ(ref.width, want.width);
            EXPECT_EQ(pnm_rgb(ref, scale_down), want.rgb);
            ran++;
        }
    }
    if (!ran) GTEST_SKIP() << "no independent WPG reader installed";
}

TEST_F(WpgTest, HandBuiltFixturesLoad) {
    int checked = 0;
    for (const std::string &name : files_ending(kFixtures, ".wpg")) {
        SCOPED_TRACE(name);
        Pnm ref;
        ASSERT_TRUE(parse_pnm(read_file(kFixtures + name.substr(0, name.size() - 4) + ".pnm"), &ref));
        HGLOBAL dib = load_as("WPG", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.rgb, pnm_rgb(ref, scale_down));
        checked++;
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
