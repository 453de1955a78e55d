#include "codec_images.h"

namespace {

struct EpsTest : ScratchTest {};

/* The fixed text before the image lines, for a w x h image. */
std::string prologue(const std::string &title, int w, int h, int stringBytes, const std::string &pal) {
    return "%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 0 0 " + std::to_string(w) + " " + std::to_string(h) +
           "\n%%Creator: Lumacast\n%%Title: " + title +
           "\n\n% Lumacast (graphics format converter)\n% OrvantaImaging\n% 1 Harbour Lane\n% Portsea, PO1 1AA\n"
           "/ZYNDict 20 dict def ZYNDict begin\n\n/bd {bind def} bind def\n/width " + std::to_string(w) +
           " def /height " + std::to_string(h) +
           " def\n/index_string width string def\n/rgb_string width 3 mul string def\n/gray_string " +
           std::to_string(stringBytes) + " string def\n\ngsave\nsave\n0 0 translate\nwidth height scale\n"
           "%%BeginData: " + std::to_string(h) + " ASCII Lines\n" + pal +
           "/palette_lookup8 { currentfile index_string\nreadhexstring pop /rgb_index 0 def { 3 mul pal\n"
           "exch 3 getinterval rgb_string exch rgb_index exch\nputinterval /rgb_index rgb_index 3 add def} forall\n"
           "rgb_string} bd\n/read8 {currentfile gray_string readhexstring pop } bd\n"
           "/read24 {currentfile rgb_string readhexstring pop } bd\n";
}

const std::string kEnd = "%%EndData\nrestore\ngrestore\n\nshowpage\n\n%%Trailer\n\n%%Pages 1\nend\n%%EOF\n\x04";

TEST_F(EpsTest, Monochrome2x1InGrayIsTheInvertedByteAndTitlesTheTargetName) {
    HGLOBAL src = make_dib(2, 1, 1, 2, [](int x, int) { return (unsigned)(x == 0); });  // bits 10......
    std::string path = dir + "/mono.eps";
    ASSERT_TRUE(save_as("EPS", path, src, 0, 0, 1));
    GlobalFree(src);
    EXPECT_EQ(read_file(path), prologue(path, 2, 1, 1, "") + "2 1 1 [2 0 0 -1 0 1]\n{read8} image\n7F\n" + kEnd);
}

TEST_F(EpsTest, PaletteImageInColourWritesUsedColoursAndIndexRows) {
    HGLOBAL src = make_dib(10, 10, 8, 5, [](int x, int y) { return (unsigned)(x + y) % 5; });
    std::string path = dir + "/pal.eps";
    ASSERT_TRUE(save_as("EPS", path, src, 1, 0, 8));
    GlobalFree(src);
    std::string pal = "/pal <0B05FA3060ED55BBE07A16D39F71C6> def\n\n";
    std::string rows;
    for (int y = 0; y < 10; y++) {
        for (int x = 0; x < 10; x++) rows += "0" + std::to_string((x + y) % 5);
        rows += "\n";
    }
    EXPECT_EQ(read_file(path), prologue(path, 10, 10, 10, pal) +
                                   "10 10 8 [10 0 0 -10 0 10]\n{palette_lookup8}\nfalse 3 colorimage\n" + rows + kEnd);
}

TEST_F(EpsTest, SixteenAndThirtyTwoBitImagesAreRefused) {
    for (int bpp : {16, 32}) {
        HGLOBAL src = make_dib(2, 2, bpp, 0, [](int, int) { return 0u; });
        boxes().clear();
        EXPECT_FALSE(save_as("EPS", dir + "/x.eps", src, 1, 0, bpp));
        GlobalFree(src);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, "Cannot save " + std::to_string(bpp) + "-bit EPS files");
    }
    EXPECT_FALSE(file_exists(dir + "/x.eps"));
}

/* What a gray rendering shows for a source pixel: the blue component
   (its high four bits for 4-bit images); monochrome pixels are inverted,
   so index 0 shows white. */
unsigned char gray_level(const Pixels &p, size_t i) {
    if (p.bpp == 1) return p.index[i] ? 0 : 255;
    unsigned char blue = p.rgb[3 * i + 2];
    return p.bpp == 4 ? (unsigned char)((blue >> 4) * 17) : blue;
}

TEST_F(EpsTest, GhostscriptRendersEveryDepthPixelForPixel) {
    if (!have_program("gs")) GTEST_SKIP() << "ghostscript is not installed";
    for (int bpp : {1, 4, 8, 24}) {
        for (int color : {1, 0}) {
            SCOPED_TRACE(testing::Message() << bpp << (color ? " color" : " gray"));
            int colors = bpp == 24 ? 0 : 1 << bpp;
            HGLOBAL src = make_dib(13, 7, bpp, colors, [&](int x, int y) {
                return bpp == 24 ? (unsigned)(x * 0x130A07 + y * 0x2A1B33) : (unsigned)(x * 5 + y * 3) % colors;
            });
            Pixels p = pixels_of(src);
            std::string eps = dir + "/r.eps", ppm = dir + "/r.ppm";
            ASSERT_TRUE(save_as("EPS", eps, src, color, 0, bpp));
            GlobalFree(src);
            // 72 dots per inch: one point, so one image pixel, per dot.
            run_output("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -dEPSCrop -sOutputFile='" + ppm + "' '" +
                       eps + "' 2>&1");
            int w, h;
            Bytes shown;
            ASSERT_TRUE(read_pnm(read_file(ppm), &w, &h, &shown));
            ASSERT_EQ(w, 13);
            ASSERT_EQ(h, 7);
            Bytes expected = p.rgb;
            if (!color)
                for (size_t i = 0; i < expected.size() / 3; i++)
                    expected[3 * i] = expected[3 * i + 1] = expected[3 * i + 2] = gray_level(p, i);
            EXPECT_EQ(shown, expected);
        }
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

}  // namespace
