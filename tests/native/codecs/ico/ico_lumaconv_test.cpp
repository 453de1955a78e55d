/* lumaconv writing icons, run as a user would. */
#include "codec_images.h"
#include "codecs/ico/ico.h"

namespace {

int readMask = 0;
int read_first(const IcoListEntry *, int, int *useMask) {
    *useMask = readMask;
    return 0;
}

struct IcoLumaconv : ScratchTest {
    void SetUp() override {
        ScratchTest::SetUp();
        ico_set_chooser(read_first);
    }
    void TearDown() override {
        ico_set_chooser(nullptr);
        ScratchTest::TearDown();
    }
    int run(const std::string &args) { return run_program(LUMACONV_PATH, args, dir); }
    Pixels icon(const std::string &name, int withMask) {
        readMask = withMask;
        HGLOBAL dib = load_as("ICO", dir + "/" + name);
        EXPECT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        if (dib) GlobalFree(dib);
        return p;
    }
};

TEST_F(IcoLumaconv, ConvertWritesTheMatchingTypeOrTheOneAskedFor) {
    HGLOBAL dib = make_dib(40, 20, 24, 0, [](int x, int) { return x < 20 ? 0xFF0000u : 0xFFFFFFu; });
    ASSERT_TRUE(save_as("BMP", dir + "/x.bmp", dib, 1, 0, 24));
    GlobalFree(dib);
    ASSERT_EQ(run("convert " + dir + "/x.bmp " + dir + "/x.ico"), 0) << read_file(dir + "/err.txt");
    // 24 bits are cut to 256 colours on the way: 32 x 32 256-Color, 8 black rows above and below 32 x 16.
    Pixels p = icon("x.ico", 0);
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(p.bpp, 8);
    EXPECT_EQ(Bytes(p.rgb.begin(), p.rgb.begin() + 3), (Bytes{0, 0, 0}));
    size_t middle = 3 * (16 * 32 + 1);
    EXPECT_EQ(Bytes(p.rgb.begin() + middle, p.rgb.begin() + middle + 3), (Bytes{255, 0, 0}));
    ASSERT_EQ(run("convert " + dir + "/x.bmp " + dir + "/y.ico --icon-type 20 --icon-mask 0"), 0)
        << read_file(dir + "/err.txt");
    p = icon("y.ico", 0);
    EXPECT_EQ(p.width, 64);
    EXPECT_EQ(p.bpp, 1);
    EXPECT_EQ(run("convert " + dir + "/x.bmp " + dir + "/z.ico --icon-type 19"), 2);
    EXPECT_EQ(run("convert " + dir + "/x.bmp " + dir + "/z.ico --icon-type 34x"), 2);
    EXPECT_EQ(run("convert " + dir + "/x.bmp " + dir + "/z.ico --icon-mask 2"), 2);
    EXPECT_FALSE(file_exists(dir + "/z.ico"));
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(read_file(dir + "/out.txt").find("--icon-type CODE"), std::string::npos);
}

TEST_F(IcoLumaconv, A32BitImageKeepsItsAlphaAsTheMask) {
    HGLOBAL dib = make_dib(32, 32, 32, 0, [](int, int) { return 0x2040C0u; });
    DibParts d;
    ASSERT_TRUE(dib_open(dib, &d));
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 16; x++) dib_row_from_top(&d, y)[x * 4 + 3] = 0;
    dib_close(&d);
    ASSERT_TRUE(save_as("BMP", dir + "/a.bmp", dib, 1, 0, 32));
    GlobalFree(dib);
    ASSERT_EQ(run("convert " + dir + "/a.bmp " + dir + "/a.ico"), 0) << read_file(dir + "/err.txt");
    Pixels p = icon("a.ico", 1);
    ASSERT_EQ(p.bpp, 32);
    ASSERT_EQ(p.alpha.size(), 32u * 32u);
    EXPECT_EQ(p.alpha[0], 0);
    EXPECT_EQ(p.alpha[31], 255);
    EXPECT_NE(Bytes(p.rgb.begin() + 3 * 31, p.rgb.begin() + 3 * 32), (Bytes{0, 0, 0}));
}

}  // namespace
