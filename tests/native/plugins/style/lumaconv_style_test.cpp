// lumaconv's filter options, run as a user would: the result is what
// STY_CallFilter gives for the same image, in order with the other steps,
// in convert and batch; bad values are usage errors naming the option.
#include <sys/stat.h>

#include <algorithm>

#include "codec_images.h"
#include "style_test_support.h"

namespace {

class LumaconvStyle : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        in = dir + "/in.bmp";
        out = dir + "/out.bmp";
        source = test_picture(24, 37, 23);
        ASSERT_TRUE(save_as("BMP", in, source, 1, 0, 24));
    }
    void TearDown() override {
        GlobalFree(source);
        for (const char *f : {"/in.bmp", "/out.bmp", "/out.txt", "/err.txt", "/in32.bmp"}) unlink((dir + f).c_str());
        ScratchTest::TearDown();
    }
    int lumaconv(const std::string &args) { return run_program(LUMACONV_PATH, args, dir); }
    std::string err() { return read_file(dir + "/err.txt"); }
    std::string output() { return read_file(dir + "/out.txt"); }
    // The converted file's pixels against the filter called directly.
    void expect_output_is(HGLOBAL expected) {
        HGLOBAL got = load_as("BMP", out);
        ASSERT_NE(got, nullptr);
        Image a = read_image(got), b = read_image(expected);
        EXPECT_EQ(a.h.biBitCount, b.h.biBitCount);
        EXPECT_EQ(a.bits, b.bits);
        GlobalFree(got);
        GlobalFree(expected);
    }
    std::string in, out;
    HGLOBAL source = nullptr;
};

TEST_F(LumaconvStyle, FiltersByNameOrNumberWithTheirParameters) {
    ASSERT_EQ(lumaconv("convert " + in + " " + out + " --filter Posterize --p1 64"), 0) << err();
    expect_output_is(STY_CallFilter(32, source, 16384, 64, 0, 0, 0));
    ASSERT_EQ(lumaconv("convert " + in + " " + out + " --filter 20 --p1 45 --amount 9000"), 0) << err();
    expect_output_is(STY_CallFilter(20, source, 9000, 45, 0, 0, 0));
    // Any case, without the marks; modifiers before the first --filter are its own.
    ASSERT_EQ(lumaconv("convert " + in + " " + out + " --p2 7 --filter-color 10,20,30 --filter 'POINTILLIZE'"), 0);
    expect_output_is(STY_CallFilter(10, source, 16384, 128, 7, 0, RGB(10, 20, 30)));
    ASSERT_EQ(lumaconv("convert " + in + " " + out + " --filter 'color halftone'"), 0) << err();
    expect_output_is(STY_CallFilter(0, source, 16384, 0, 0, 0, 0));
}

TEST_F(LumaconvStyle, StepsRunInTheOrderGiven) {
    ASSERT_EQ(lumaconv("convert " + in + " " + out + " --filter Mosaic --amount 3000 --scale 50% --filter Solarize"),
              0)
        << err();
    HGLOBAL mosaic = STY_CallFilter(9, source, 3000, 0, 0, 0, 0);
    HGLOBAL half = ZYN_DIB_StretchDIB(mosaic, 18, 11);
    expect_output_is(STY_CallFilter(11, half, 16384, 0, 0, 0, 0));
    GlobalFree(mosaic);
    GlobalFree(half);
}

TEST_F(LumaconvStyle, ThirtyTwoBitSourcesKeepTheirAlpha) {
    HGLOBAL alpha = test_picture(32, 9, 5);
    ASSERT_TRUE(save_as("BMP", dir + "/in32.bmp", alpha, 1, 0, 32));
    ASSERT_EQ(lumaconv("convert " + dir + "/in32.bmp " + out + " --filter Weave"), 0) << err();
    expect_output_is(STY_CallFilter(25, alpha, 16384, 0, 0, 0, 0));
    GlobalFree(alpha);
}

TEST_F(LumaconvStyle, BadValuesAreUsageErrorsNamingTheOption) {
    const std::pair<const char *, const char *> bad[] = {
        {"--filter Nosuch", "--filter"},       {"--filter 39", "--filter"},      {"--filter '*Diffuse'", "--filter"},
        {"--amount 16385", "--amount"},        {"--amount -1", "--amount"},      {"--p1 256", "--p1"},
        {"--p2 x", "--p2"},                    {"--filter-color 1,2", "--filter-color"},
        {"--filter-color 1,2,300", "--filter-color"}, {"--filter-color 1,2,3,", "--filter-color"}};
    for (const auto &b : bad) {
        EXPECT_EQ(lumaconv("convert " + in + " " + out + " " + b.first), 2) << b.first;
        EXPECT_NE(err().find(b.second), std::string::npos) << err();
    }
    EXPECT_EQ(lumaconv("filters extra"), 2);
}

TEST_F(LumaconvStyle, FiltersListsTheTable) {
    ASSERT_EQ(lumaconv("filters"), 0);
    std::string text = output();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 39);
    EXPECT_EQ(text.find("0\t*Color Halftone [XXX]\trows\t-\t-\t-\n"), 0u);
    EXPECT_NE(text.find("\n10\tPointillize\twhole\tNumber=128\tRandomness=128\tcolor\n"), std::string::npos);
    EXPECT_NE(text.find("\n32\tPosterize\trows\tColors=128\t-\t-\n"), std::string::npos);
    EXPECT_NE(text.find("\n38\tTest Filter [24]\trows\t-\t-\t-\n"), std::string::npos);
}

TEST_F(LumaconvStyle, BatchFiltersEveryFile) {
    std::string inDir = dir + "/batch_in", outDir = dir + "/batch_out";
    ASSERT_EQ(mkdir(inDir.c_str(), 0777), 0);
    ASSERT_EQ(mkdir(outDir.c_str(), 0777), 0);
    ASSERT_TRUE(save_as("BMP", inDir + "/a.bmp", source, 1, 0, 24));
    ASSERT_TRUE(save_as("BMP", inDir + "/b.bmp", source, 1, 0, 24));
    ASSERT_EQ(lumaconv("batch " + inDir + " " + outDir + " --to bmp --filter Tiles"), 0) << err();
    for (const char *name : {"/a.bmp", "/b.bmp"}) {
        HGLOBAL got = load_as("BMP", outDir + name);
        ASSERT_NE(got, nullptr) << name;
        HGLOBAL want = STY_CallFilter(12, source, 16384, 0, 0, 0, 0);
        EXPECT_EQ(read_image(got).bits, read_image(want).bits);
        GlobalFree(got);
        GlobalFree(want);
    }
    remove_tree(inDir);
    remove_tree(outDir);
}

}  // namespace
