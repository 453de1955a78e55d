#include "codecs/sgi/sgi.h"
#include "raster_test_helpers.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/sgi/";
const char kImageName[] = "Created by 'Lumacast' a conversion utility by Orvanta Imaging Corp.";

struct SgiTest : RasterCodecTest {
    SgiTest() : RasterCodecTest("RGB", SgiDecode) {}
};

/* A 512-byte header followed by `rest`. */
Bytes sgi(int storage, int bpc, int dimension, int x, int y, int z, Bytes rest, unsigned colormap = 0,
          unsigned magic = 474) {
    Bytes f;
    put_u16be(f, magic);
    f.push_back((unsigned char)storage);
    f.push_back((unsigned char)bpc);
    for (int v : {dimension, x, y, z}) put_u16be(f, (unsigned)v);
    put_u32be(f, 0);
    put_u32be(f, bpc == 1 ? 255 : 65535);
    f.resize(104);
    put_u32be(f, colormap);
    f.resize(512);
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

/* Run-length tables for rows given as coded byte strings, channel by
   channel (row 0 at the bottom), then the rows themselves. */
Bytes rle_body(const std::vector<Bytes> &rows) {
    Bytes tables, data;
    unsigned offset = 512 + (unsigned)rows.size() * 8;
    Bytes lengths;
    for (const Bytes &r : rows) {
        put_u32be(tables, offset);
        put_u32be(lengths, (unsigned)r.size());
        offset += (unsigned)r.size();
        data.insert(data.end(), r.begin(), r.end());
    }
    tables.insert(tables.end(), lengths.begin(), lengths.end());
    tables.insert(tables.end(), data.begin(), data.end());
    return tables;
}

TEST_F(SgiTest, FixturesFromOtherProgramsLoadToTheirDecodersPixels) {
    int checked = 0;
    for (const std::string &name : files_ending(kFixtures, ".sgi")) {
        SCOPED_TRACE(name);
        Pnm ref;
        ASSERT_TRUE(parse_pnm(read_file(kFixtures + name.substr(0, name.size() - 4) + ".pnm"), &ref));
        HGLOBAL dib = load_as("RGB", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.width, ref.width);
        EXPECT_EQ(p.height, ref.height);
        EXPECT_EQ(p.rgb, pnm_rgb(ref, scale_round));
        bool gray = name.find("gray") != std::string::npos, rgba = name.find("rgba") != std::string::npos;
        EXPECT_EQ(p.bpp, gray ? 8 : rgba ? 32 : 24);
        if (rgba) {
            EXPECT_EQ(p.alpha[0], 128);
        }
        EXPECT_EQ(loadinfo_number(LI_GRAY), gray ? 1u : 0u);
        EXPECT_EQ(loadinfo_number(LI_COMPRESSED), name.find("_rle_") != std::string::npos ? 1u : 0u);
        checked++;
    }
    EXPECT_GE(checked, 11);
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(SgiTest, SixteenBitRunsDitheredMapsAndTwoDimensions) {
    // 16-bit samples: counts are words too; 3 x 1 gray.
    Bytes rows = rle_body({{0x00, 0x82, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x80, 0x80, 0x00, 0x00}});
    HGLOBAL dib = decode(sgi(1, 2, 2, 3, 1, 1, rows));
    ASSERT_NE(dib, nullptr) << last_box_text();
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.index, (Bytes{0, 255, 128}));

    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "Iris");
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);

    // A dithered image: red in the low three bits, green next, blue on top.
    dib = decode(sgi(0, 1, 2, 2, 1, 1, {0x07, 0xC0}, 1));
    ASSERT_NE(dib, nullptr) << last_box_text();
    p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.rgb, (Bytes{255, 0, 0, 0, 0, 255}));

    // One dimension: a single row whatever ysize says.
    dib = decode(sgi(0, 1, 1, 2, 9, 5, {7, 8}));
    ASSERT_NE(dib, nullptr) << last_box_text();
    p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.height, 1);
    EXPECT_EQ(p.index, (Bytes{7, 8}));
}

TEST_F(SgiTest, RowsAreBottomUpAndChannelsPlanar) {
    // 2 x 2 RGB verbatim: red plane, green plane, blue plane, bottom row first.
    Bytes planes = {1, 2, 3, 4, 11, 12, 13, 14, 21, 22, 23, 24};
    Pixels p;
    ASSERT_TRUE(decode_pixels(sgi(0, 1, 3, 2, 2, 3, planes), &p));
    EXPECT_EQ(p.rgb, (Bytes{3, 13, 23, 4, 14, 24, 1, 11, 21, 2, 12, 22}));
}

TEST_F(SgiTest, DamagedAndIllegalFiles) {
    expect_refused(Bytes{0x01}, "Not a legal RGB file");
    expect_refused(sgi(0, 1, 2, 2, 2, 1, Bytes(4), 0, 475), "Not a legal RGB file");
    expect_refused(Bytes{0x01, 0xDA, 0, 1, 0, 2}, "Incomplete RGB file, cannot load");
    expect_refused(sgi(0, 3, 2, 2, 2, 1, Bytes(4)), "Not a legal RGB format file");
    expect_refused(sgi(2, 1, 2, 2, 2, 1, Bytes(4)), "Not a legal RGB format file");
    expect_refused(sgi(0, 1, 4, 2, 2, 1, Bytes(4)), "Not a legal RGB format file");
    expect_refused(sgi(0, 1, 3, 2, 2, 0, Bytes(4)), "Not a legal RGB format file");
    expect_refused(sgi(0, 1, 2, 0, 2, 1, Bytes(4)), "Not a legal RGB format file");
    expect_refused(sgi(0, 1, 2, 2, 2, 1, Bytes(4), 3), "Unrecognized RGB format, cannot read");
    expect_refused(sgi(0, 1, 3, 2, 2, 3, Bytes(4), 1), "Unrecognized RGB format, cannot read");
    expect_refused(sgi(0, 1, 3, 2, 2, 3, Bytes(11)), "Incomplete RGB file, cannot load");
    expect_refused(sgi(1, 1, 2, 2, 2, 1, Bytes(15)), "Incomplete RGB file, cannot load");  // tables cut short
    expect_refused(sgi(0, 1, 3, 65535, 65535, 4, Bytes(4)), "Not enough memory to load RGB image");
    expect_refused(sgi(1, 1, 3, 1000, 65535, 3, Bytes(64)), "Incomplete RGB file, cannot load");

    Bytes offsetPastEnd = sgi(1, 1, 2, 2, 1, 1, rle_body({{0x82, 1, 2, 0}}));
    offsetPastEnd[512 + 3] = 0xFF;
    expect_refused(offsetPastEnd, "The RGB File is Damaged -- Cannot Load");
    Bytes offsetIntoHeader = sgi(1, 1, 2, 2, 1, 1, rle_body({{0x82, 1, 2, 0}}));
    offsetIntoHeader[512 + 2] = 0;
    offsetIntoHeader[512 + 3] = 4;
    expect_refused(offsetIntoHeader, "The RGB File is Damaged -- Cannot Load");
    expect_refused(sgi(1, 1, 2, 2, 1, 1, rle_body({{0x03, 9, 0}})), "The RGB File is Damaged -- Cannot Load");
    expect_refused(sgi(1, 1, 2, 2, 1, 1, rle_body({{0x81, 9, 0}})), "The RGB File is Damaged -- Cannot Load");
    expect_refused(sgi(1, 1, 2, 2, 1, 1, rle_body({{0x84, 9}})), "The RGB File is Damaged -- Cannot Load");
}

TEST_F(SgiTest, WriterRoundTripsGrayAndColourWithItsHeader) {
    struct Case {
        int bpp, colors, color, width;
    } cases[] = {{8, 256, 0, 300}, {24, 0, 1, 301}, {8, 256, 1, 7}, {24, 0, 0, 5}, {1, 2, 0, 9}, {4, 16, 1, 9},
                 {32, 0, 1, 6}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bpp * 1000 + c.width);
        int h = 6;
        HGLOBAL src = make_dib(c.width, h, c.bpp, c.colors, [&](int x, int y) {
            if (c.bpp >= 24) return pattern_rgb(x, y);
            return (unsigned)(x < 200 ? x / 3 : x) * (unsigned)(y + 1) % (unsigned)c.colors;
        }, c.color == 0);
        ASSERT_NE(src, nullptr);
        std::string name = "rt" + std::to_string(c.bpp) + "_" + std::to_string(c.color) + ".rgb";
        Pixels back = round_trip(src, c.color, c.bpp, name);
        Pixels want = pixels_of(src);
        GlobalFree(src);
        if (c.color) {
            EXPECT_EQ(back.rgb, want.rgb);
        } else {
            // gray: the table's red, or a true-colour pixel's first (blue) byte
            for (size_t i = 0; i < want.rgb.size(); i += 3) {
                unsigned char g = c.bpp >= 24 ? want.rgb[i + 2] : want.rgb[i];
                ASSERT_EQ(back.rgb[i], g) << i;
            }
        }
        EXPECT_EQ(back.bpp, c.color ? 24 : 8);
        Bytes f = bytes_of(read_file(dir + "/" + name));
        ASSERT_GE(f.size(), 512u);
        EXPECT_EQ(f[0], 0x01);
        EXPECT_EQ(f[1], 0xDA);
        EXPECT_EQ(f[2], 1);  // run-length coded
        EXPECT_EQ(f[3], 1);  // a byte a sample
        EXPECT_EQ(f[11], c.color ? 3 : 1);
        EXPECT_EQ(std::string((const char *)&f[24]), kImageName);
    }
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(SgiTest, OurFilesReadTheSameInOtherPrograms) {
    PnmReader tools[] = {{"sgitopnm", "sgitopnm '%s'"}, {"/usr/bin/convert", "/usr/bin/convert 'sgi:%s' ppm:-"},
                     {"gm", "gm convert 'sgi:%s' ppm:-"}};
    HGLOBAL images[] = {make_dib(300, 5, 24, 0, pattern_rgb),
                        make_dib(140, 4, 8, 256, [](int x, int y) { return (unsigned)(x / 40 * 50 + y) & 255; }, true)};
    int ran = 0;
    for (HGLOBAL src : images) {
        Pixels want = pixels_of(src);
        std::string path = dir + "/ours" + std::to_string(want.bpp) + ".rgb";
        ASSERT_EQ(save_as("RGB", path, src, want.bpp == 24, 0, want.bpp), 1);
        GlobalFree(src);
        for (const PnmReader &t : tools) {
            SCOPED_TRACE(std::string(t.program) + " " + path);
            Pnm ref;
            if (!read_with(t, path, &ref)) continue;
            EXPECT_EQ(pnm_rgb(ref, scale_round), want.rgb);
            ran++;
        }
    }
    if (!ran) GTEST_SKIP() << "no independent SGI reader installed";
}

TEST_F(SgiTest, WriterThatCannotCreateItsFileSaysSo) {
    HGLOBAL src = make_dib(4, 4, 24, 0, pattern_rgb);
    std::string path = dir + "/missing/x.rgb";
    EXPECT_EQ(SgiSave(&path[0], src, 1, 0, 24), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
    GlobalFree(src);
}

}  // namespace
