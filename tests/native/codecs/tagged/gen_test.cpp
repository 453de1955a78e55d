#include "tagged_fixture.h"

namespace {

using GenTest = TaggedTest;

TEST_F(GenTest, Writes3x2AsHeaderLineAndRgbRowsBottomFirst) {
    HGLOBAL src = make_dib(3, 2, 24, 0, [](int x, int y) { return (unsigned)(0x010203 * (x + 1) + 0x404040 * y); });
    std::string path = dir + "/a.gen";
    ASSERT_TRUE(save_as("GEN", path, src, 1, 0, 24));
    GlobalFree(src);
    std::string bottom = "\x41\x42\x43\x42\x44\x46\x43\x46\x49", top = "\x01\x02\x03\x02\x04\x06\x03\x06\x09";
    EXPECT_EQ(read_file(path), "3 2\n" + bottom + top);
}

TEST_F(GenTest, RoundTripsTrueColourAndLooksUpPaletteImages) {
    for (int bpp : {1, 4, 8, 24}) {
        SCOPED_TRACE(bpp);
        int colors = bpp == 24 ? 0 : 1 << bpp;
        HGLOBAL src = make_dib(11, 4, bpp, colors, [&](int x, int y) {
            return bpp == 24 ? (unsigned)(x * 0x0D0E0F + y * 0x200000) : (unsigned)(x + 2 * y) % colors;
        });
        Pixels before = pixels_of(src);
        std::string path = dir + "/rt.gen";
        ASSERT_TRUE(codec_writer("GEN")(&path[0], src, 1, 0, 24));
        GlobalFree(src);
        HGLOBAL back = load_as("GEN", path);
        ASSERT_NE(back, nullptr);
        Pixels after = pixels_of(back);
        GlobalFree(back);
        EXPECT_EQ(after.bpp, 24);
        EXPECT_EQ(after.rgb, before.rgb);
    }
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 24u);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(GenTest, HeaderEndsAtCarriageReturnOrLineFeed) {
    HGLOBAL dib = decode("GEN", std::string("2 1\r") + "\x0A\x0B\x0C\x01\x02\x03");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(pixels_of(dib).rgb, (Bytes{10, 11, 12, 1, 2, 3}));
    GlobalFree(dib);
}

TEST_F(GenTest, DamagedFilesFailWithTheirMessages) {
    struct { std::string text, message; } cases[] = {
        {"", "Illegal GEN File -- Bad Header"},
        {"3", "Illegal GEN File -- Bad Header"},
        {"3 2", "Illegal GEN File -- Bad Header"},
        {"0 2\n", "Illegal GEN File -- Bad Header"},
        {"3 2\n" + std::string(17, 'x'), "Incomplete GEN file, cannot load"},
        {"99999999999999999999 99999999999\n", "Not enough memory to load GEN image"},
        {"65535 65535\n", "Not enough memory to load GEN image"},
    };
    for (auto &c : cases) EXPECT_EQ(refusal("GEN", c.text), c.message) << c.text;
}

}  // namespace
