// lumaconv's image steps end to end: the options in the order given, the
// modifiers, usage errors naming the option, the operations' own texts,
// and batch.
#include <sys/stat.h>
#include <sys/wait.h>

#include "image_test_support.h"

namespace {

struct LumaconvImage : ScratchTest {
    int code = 0;
    std::string err;
    int run(const std::string &args) {
        code = run_program(LUMACONV_PATH, args, dir);
        err = read_file(dir + "/err.txt");
        return code;
    }
    std::string input(HGLOBAL dib, const std::string &name = "in.bmp") {
        std::string path = dir + "/" + name;
        Pixels p = pixels_of(dib);
        EXPECT_TRUE(save_as("BMP", path, dib, 1, 0, p.bpp));
        return path;
    }
    Pixels output(const std::string &name = "out.bmp") {
        HGLOBAL dib = load_as("BMP", dir + "/" + name);
        Pixels p = dib ? pixels_of(dib) : Pixels();
        if (dib) GlobalFree(dib);
        return p;
    }
};

TEST_F(LumaconvImage, HelpListsEveryOption) {
    ASSERT_EQ(run("--help"), 0);
    std::string out = read_file(dir + "/out.txt");
    for (const char *o : {"--invert", "--flip", "--mirror", "--crop", "--scale-quality", "--rotate ", "--rotate-quality",
                          "--background", "--frame ", "--frame-style", "--frame-fill", "--frame-outline", "--tile ",
                          "--tile-mirror", "--mask ", "--mask-invert", "--mask-color"})
        EXPECT_NE(out.find(o), std::string::npos) << o;
}

TEST_F(LumaconvImage, BadValuesAreUsageErrorsNamingTheOption) {
    struct Case {
        const char *args, *option;
    } cases[] = {{"--rotate 361", "--rotate"},         {"--rotate 3.5", "--rotate"},
                 {"--crop 1,2,3", "--crop"},           {"--crop 1,2,3,-4", "--crop"},
                 {"--tile 0x2", "--tile"},             {"--tile 2x70000", "--tile"},
                 {"--mask nosuch", "--mask"},          {"--mask 117", "--mask"},
                 {"--frame-style dotted", "--frame-style"}, {"--background 1,2", "--background"},
                 {"--mask-color '#300'", "--mask-color"}, {"--scale-quality best", "--scale-quality"},
                 {"--rotate-quality x", "--rotate-quality"}, {"--frame 1,1,1", "--frame"}};
    for (const Case &c : cases) {
        EXPECT_EQ(run(std::string("convert a.bmp b.bmp ") + c.args), 2) << c.args;
        EXPECT_NE(err.find(c.option), std::string::npos) << c.args << ": " << err;
    }
}

TEST_F(LumaconvImage, StepsRunInTheOrderGiven) {
    HGLOBAL dib = noise_dib(13, 7, 24);
    std::string in = input(dib);
    ASSERT_EQ(run("convert " + in + " " + dir + "/out.bmp --crop 1,2,3,0 --rotate 90 --mirror"), 0) << err;
    HGLOBAL a = NULL, b = NULL, c = NULL;
    ImgCropParams crop = {1, 2, 3, 0};
    ASSERT_EQ(img_crop(dib, &crop, &a), IMG_OK);
    ASSERT_EQ(img_rotate_quarter(a, 1, &b), IMG_OK);
    ASSERT_EQ(img_mirror(b, &c), IMG_OK);
    Pixels ours = output(), expect = pixels_of(c);
    EXPECT_EQ(ours.width, 5);
    EXPECT_EQ(ours.height, 9);
    EXPECT_EQ(ours.rgb, expect.rgb);
    ASSERT_EQ(run("convert " + in + " " + dir + "/out.bmp --rotate 90 --crop 1,2,3,0"), 0) << err;
    EXPECT_EQ(output().width, 3);
    for (HGLOBAL h : {dib, a, b, c}) GlobalFree(h);
}

TEST_F(LumaconvImage, ModifiersChangeTheStepBeforeThem) {
    HGLOBAL dib = noise_dib(9, 9, 8);
    std::string in = input(dib), out = " " + dir + "/out.bmp";
    ASSERT_EQ(run("convert " + in + out + " --rotate 30"), 0) << err;
    EXPECT_EQ(output().bpp, 8);
    ASSERT_EQ(run("convert " + in + out + " --rotate 30 --rotate-quality high"), 0) << err;
    EXPECT_EQ(output().bpp, 24);
    ASSERT_EQ(run("convert " + in + out + " --frame-style outline --frame 2,2,2,2 --frame-outline '#5'"), 0) << err;
    Pixels f = output();
    EXPECT_EQ(f.width, 13);
    EXPECT_EQ(f.index[0], 5);
    EXPECT_EQ(f.index[13 + 1], 0) << "fill: entry 0 of a palette image";
    GlobalFree(dib);
}

TEST_F(LumaconvImage, ColorsMasksTilesAndScales) {
    HGLOBAL dib = noise_dib(20, 20, 24);
    std::string in = input(dib), out = " " + dir + "/out.bmp";
    ASSERT_EQ(run("convert " + in + out + " --mask Circle --mask-color 255,0,0"), 0) << err;
    Pixels m = output(), src = pixels_of(dib);
    EXPECT_EQ(m.rgb[0], 255);
    EXPECT_EQ(m.rgb[1], 0);
    EXPECT_EQ(0, memcmp(&m.rgb[(10 * 20 + 10) * 3], &src.rgb[(10 * 20 + 10) * 3], 3));
    ASSERT_EQ(run("convert " + in + out + " --mask down-arrow --mask-invert --tile 2x3 --tile-mirror"), 0) << err;
    EXPECT_EQ(output().height, 60);
    ASSERT_EQ(run("convert " + in + out + " --scale 50% --scale-quality high"), 0) << err;
    Pixels s = output();
    EXPECT_EQ(s.width, 10);
    // Across first, then down, each truncated.
    EXPECT_EQ(s.rgb[0], ((src.rgb[0] + src.rgb[3]) / 2 + (src.rgb[60] + src.rgb[63]) / 2) / 2);
    EXPECT_EQ(run("convert " + in + out + " --background '#3' --rotate 30"), 1);
    EXPECT_NE(err.find("--background #3 needs a palette image"), std::string::npos) << err;
    GlobalFree(dib);
}

TEST_F(LumaconvImage, FailuresShowTheOperationsTextAndBatchAppliesTheSteps) {
    HGLOBAL dib = noise_dib(6, 4, 4);
    std::string in = input(dib);
    EXPECT_EQ(run("convert " + in + " " + dir + "/out.bmp --crop 3,0,3,0"), 1);
    EXPECT_EQ(err, "Cannot have an image dimension less than or equal to zero\n");
    EXPECT_EQ(run("convert " + in + " " + dir + "/out.bmp --tile 32766x1"), 1);
    EXPECT_EQ(err, "Tile: Dimensions too large, cannot create new image\n");

    std::string indir = dir + "/in", outdir = dir + "/outdir";
    ASSERT_EQ(mkdir(indir.c_str(), 0777), 0);
    ASSERT_EQ(mkdir(outdir.c_str(), 0777), 0);
    HGLOBAL other = noise_dib(3, 5, 24);
    input(dib, "in/a.bmp");
    input(other, "in/b.bmp");
    ASSERT_EQ(run("batch " + indir + " " + outdir + " --to bmp --flip --rotate -90"), 0) << err;
    for (auto [name, h] : {std::make_pair("a", dib), std::make_pair("b", other)}) {
        HGLOBAL f = NULL, r = NULL;
        ASSERT_EQ(img_flip(h, &f), IMG_OK);
        ASSERT_EQ(img_rotate_quarter(f, 3, &r), IMG_OK);
        EXPECT_EQ(output(std::string("outdir/") + name + ".bmp").rgb, pixels_of(r).rgb) << name;
        GlobalFree(f);
        GlobalFree(r);
        unlink((indir + "/" + name + ".bmp").c_str());
        unlink((outdir + "/" + name + ".bmp").c_str());
    }
    rmdir(indir.c_str());
    rmdir(outdir.c_str());
    GlobalFree(dib);
    GlobalFree(other);
}

}  // namespace
