#include "tagged_fixture.h"

namespace {

using HexTest = TaggedTest;

TEST_F(HexTest, WritesTheFixedTextFor1BitImage10PixelsWide) {
    HGLOBAL src = make_dib(10, 2, 1, 2, [](int x, int y) { return (unsigned)((x + y) % 2); });
    std::string path = dir + "/a.hex";
    ASSERT_TRUE(save_as("HEX", path, src, 0, 0, 1));
    GlobalFree(src);
    // Table entries (11, 5, 250) and (48, 96, 237); rows from the top, 4
    // digits each (the second byte holds 2 pixels).
    EXPECT_EQ(read_file(path),
              "WIDTH\t\t10\nHEIGHT\t\t2\nBITSPERPIXEL\t1\n\nCOLORMAP H\n\t0B 05 FA\n\t30 60 ED\n\n"
              "IMAGE H\n\t5540\n\tAA80\n");
}

TEST_F(HexTest, RoundTripsEveryDepth) {
    for (int bpp : {1, 4, 8, 24}) {
        SCOPED_TRACE(bpp);
        int colors = bpp == 24 ? 0 : 1 << bpp;
        HGLOBAL src = make_dib(13, 5, bpp, colors, [&](int x, int y) {
            return bpp == 24 ? (unsigned)(x * 0x0A0B0C + y * 0x330000) : (unsigned)(x * 3 + y) % colors;
        });
        Pixels before = pixels_of(src);
        std::string path = dir + "/rt.hex";
        ASSERT_TRUE(save_as("HEX", path, src, 1, 0, bpp));
        GlobalFree(src);
        HGLOBAL back = load_as("HEX", path);
        ASSERT_NE(back, nullptr);
        Pixels after = pixels_of(back);
        GlobalFree(back);
        EXPECT_EQ(after.bpp, bpp);
        EXPECT_EQ(after.rgb, before.rgb);
        EXPECT_EQ(after.index, before.index);
        EXPECT_TRUE(same_table(after.table, before.table, (size_t)colors));
        EXPECT_EQ(loadinfo_number(LI_VERSION), 1u);
    }
    // A width that starts with 9 is a decimal value, not a data type.
    HGLOBAL wide = make_dib(900, 10, 24, 0, [](int x, int y) { return (unsigned)(x * 77 + y); });
    ASSERT_TRUE(save_as("HEX", dir + "/wide.hex", wide, 1, 0, 24));
    HGLOBAL back = load_as("HEX", dir + "/wide.hex");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(pixels_of(back).rgb, pixels_of(wide).rgb);
    GlobalFree(back);
    GlobalFree(wide);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(HexTest, TagsInAnyOrderAndCaseWithCommentsAndBinaryRows) {
    // Binary rows: 10 digits a row; the last two bits stay where they are
    // read (the low bits of the second byte), so pixels 8 and 9 are 0.
    std::string text =
        "; a hand-made file\r\nheight 2 ; two rows\r\n\r\n  BitsPerPixel D 1\nwidth\tH A\n"
        "COLORMAP D 1 2 3 ; first\n 250 251 252\nIMAGE B\n 1100110011\n0000000010\n";
    HGLOBAL dib = decode("HEX", text);
    ASSERT_NE(dib, nullptr);
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.width, 10);
    EXPECT_EQ(p.index, (Bytes{1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(p.table.size(), 2u);
    EXPECT_EQ(p.table[1].rgbRed, 250);
    EXPECT_EQ(p.table[1].rgbBlue, 252);
    // Without COLORMAP the table is a gray ramp; BITSPERPIXEL defaults to 8.
    dib = decode("HEX", "WIDTH 2 HEIGHT 1 IMAGE H 05FF");
    ASSERT_NE(dib, nullptr);
    p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.rgb, (Bytes{5, 5, 5, 255, 255, 255}));
    dib = decode("HEX", "WIDTH 2 HEIGHT 1 BITSPERPIXEL 4 IMAGE H 3F");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(pixels_of(dib).rgb, (Bytes{51, 51, 51, 255, 255, 255}));
    GlobalFree(dib);
}

TEST_F(HexTest, RowsAreReadByCountSoALongLineCannotSpill) {
    HGLOBAL dib = decode("HEX", "WIDTH 1 HEIGHT 2 IMAGE H\n\t0102030405060708\n");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(pixels_of(dib).index, (Bytes{1, 2}));
    GlobalFree(dib);
}

TEST_F(HexTest, EveryRefusalShowsItsMessage) {
    const std::string rows = "WIDTH 2 HEIGHT 1 BITSPERPIXEL 8 IMAGE H ";
    struct { std::string text, message; } cases[] = {
        {"", "Illegal or missing tag name, cannot load"},
        {"WIDTH 1 HEIGHT 1", "Illegal or missing tag name, cannot load"},
        {std::string(51, 'W') + " 1", "Illegal or missing tag name, cannot load"},
        {std::string(50, 'W') + " 1", "Illegal tag, cannot load file"},
        {"DEPTH 8", "Illegal tag, cannot load file"},
        {"WIDTH X 1", "Illegal data type encountered, cannot load file"},
        {"WIDTH h 1", "Illegal data type encountered, cannot load file"},
        {"WIDTH O 7", "Octal data is no longer supported, cannot load file"},
        {"WIDTH 1 HEIGHT 1 IMAGE D 00", "Octal data is no longer supported, cannot load file"},
        {"WIDTH 1 HEIGHT 1 IMAGE O 00", "Octal data is no longer supported, cannot load file"},
        {"WIDTH 0", "Illegal WIDTH tag value"},
        {"WIDTH H", "Illegal WIDTH tag value"},
        {"HEIGHT D Z", "Illegal HEIGHT tag value"},
        {"BITSPERPIXEL 0", "Illegal BITSPERPIXEL tag value"},
        {"BITSPERPIXEL 2", "BITSPERPIXEL tag value must be 1, 4, 8, or 24, cannot load"},
        {"BITSPERPIXEL 24 COLORMAP H", "Illegal palette in 24-bit image"},
        {"BITSPERPIXEL 1 COLORMAP H FF FF FF 00 00", "Illegal palette color, cannot load file"},
        {"HEIGHT 1 IMAGE H 00", "File is missing the required WIDTH tag, cannot load"},
        {"WIDTH 1 IMAGE H 00", "File is missing the required HEIGHT tag, cannot load"},
        {rows + "0G", "Illegal character in hexidecimal data, cannot load"},
        {rows + "00;", "Illegal character in hexidecimal data, cannot load"},
        {rows + "00 0", "Illegal character in hexidecimal data, cannot load"},
        {"WIDTH 3 HEIGHT 1 BITSPERPIXEL 1 IMAGE B 012", "Illegal character in binary data, cannot load"},
        {"WIDTH 3 HEIGHT 1 BITSPERPIXEL 1 IMAGE B 01", "Illegal character in binary data, cannot load"},
        {"WIDTH 99999999999999999999 HEIGHT 1 IMAGE H", "Not enough memory to load HEX image"},
        {"WIDTH 65535 HEIGHT 65535 BITSPERPIXEL 24 IMAGE H", "Not enough memory to load HEX image"},
    };
    for (auto &c : cases) EXPECT_EQ(refusal("HEX", c.text), c.message) << c.text;
}

TEST_F(HexTest, WriterRefusesDepthsWithoutAHexForm) {
    HGLOBAL src = make_dib(2, 2, 32, 0, [](int, int) { return 0u; });
    EXPECT_FALSE(save_as("HEX", dir + "/a.hex", src, 1, 0, 32));
    GlobalFree(src);
    EXPECT_EQ(last_text(), "Unsupported HEX format");
}

}  // namespace
