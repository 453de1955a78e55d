#include <dirent.h>

#include "codec_images.h"
#include "codecs/tga/tga.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/tga/";

struct TgaTest : CodecFixture {
    TgaTest() : CodecFixture("TGA", TgaDecode) {}
};

/* An 18-byte header followed by `rest`. */
Bytes tga(int type, int depth, int w, int h, Bytes rest, int mapType = 0, int mapLen = 0, int mapBits = 0,
          int descriptor = 0, int idLength = 0) {
    Bytes f = {(BYTE)idLength, (BYTE)mapType, (BYTE)type, 0, 0, (BYTE)mapLen, (BYTE)(mapLen >> 8), (BYTE)mapBits,
               0, 0, 0, 0, (BYTE)w, (BYTE)(w >> 8), (BYTE)h, (BYTE)(h >> 8), (BYTE)depth, (BYTE)descriptor};
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

TEST_F(TgaTest, FixturesFromOtherProgramsLoadToTheirDecodersPixels) {
    DIR *d = opendir(kFixtures.c_str());
    ASSERT_NE(d, nullptr);
    int checked = 0;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".tga") continue;
        SCOPED_TRACE(name);
        std::string stem = name.substr(0, name.size() - 4);
        int w, h;
        Bytes expected;
        ASSERT_TRUE(read_pnm(read_file(kFixtures + stem + ".pnm"), &w, &h, &expected));
        HGLOBAL dib = load_as("TGA", kFixtures + name);
        ASSERT_NE(dib, nullptr);
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.width, w);
        EXPECT_EQ(p.height, h);
        EXPECT_EQ(p.rgb, expected);
        bool gray = name.find("type3") != std::string::npos || name.find("type11") != std::string::npos;
        bool mapped = name.find("type1_") != std::string::npos || name.find("type9") != std::string::npos ||
                      name == "gm_type1.tga";
        EXPECT_EQ(p.bpp, gray || mapped ? 8 : 24);
        EXPECT_EQ(loadinfo_number(LI_GRAY), gray ? 1u : 0u);
        checked++;
    }
    closedir(d);
    EXPECT_GE(checked, 15);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(TgaTest, LoadInfoAndProgressFollowTheHeader) {
    std::vector<int> steps;
    static std::vector<int> *seen;
    seen = &steps;
    LoadPanelHooks hooks = {};
    hooks.progress = [](DWORD step, DWORD) { seen->push_back((int)step); };
    load_panel_set_hooks(&hooks);
    load_panel_open("Loading...", "x.tga");
    Bytes rows;
    for (int y = 0; y < 40; y++) rows.insert(rows.end(), {0x80, 1, 2, 3});
    HGLOBAL dib = decode(tga(10, 24, 1, 40, rows));
    load_panel_set_hooks(nullptr);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    EXPECT_EQ(steps, (std::vector<int>{0, 16, 32, 40}));
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 24u);
    EXPECT_EQ(loadinfo_number(LI_PLANES), 1u);
    EXPECT_EQ(loadinfo_number(LI_WIDTH), 1u);
    EXPECT_EQ(loadinfo_number(LI_HEIGHT), 40u);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "IBMPC");
    load_panel_close();
}

TEST_F(TgaTest, RowOrderPacketsAcrossRowsAnd15BitPixels) {
    // 2 x 2, 16-bit, one run packet of 3 pixels crossing into the top row
    // and one literal pixel; descriptor 0x20 puts the first row on top.
    Bytes data = {0x82, 0x1F, 0x7C, 0x00, 0xE0, 0x03};  // (31,0,31) x3, then pure green
    for (int descriptor : {0x00, 0x20, 0x21, 0x28}) {
        SCOPED_TRACE(descriptor);
        Pixels p;
        ASSERT_TRUE(decode_pixels(tga(10, 16, 2, 2, data, 0, 0, 0, descriptor), &p));
        EXPECT_EQ(p.bpp, 24);
        Bytes magenta = {248, 0, 248}, green = {0, 248, 0};
        Bytes first(magenta), second(magenta);
        first.insert(first.end(), magenta.begin(), magenta.end());
        second.insert(second.end(), green.begin(), green.end());
        bool topFirst = descriptor == 0x20 || descriptor == 0x21;
        Bytes top = topFirst ? first : second, bottom = topFirst ? second : first;
        top.insert(top.end(), bottom.begin(), bottom.end());
        EXPECT_EQ(p.rgb, top);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(TgaTest, ColorMapsOf15And32BitEntriesWithAFirstIndex) {
    // Map entries 2 and 3 (first index 2), pixels index them.
    Bytes map16 = {0x00, 0x7C, 0x1F, 0x00};           // red, blue
    Bytes map32 = {0, 0, 255, 9, 255, 0, 0, 9};        // red, blue (4th byte skipped)
    for (int bits : {16, 32}) {
        Bytes rest = bits == 16 ? map16 : map32;
        rest.insert(rest.end(), {2, 3});
        Bytes f = tga(1, 8, 2, 1, rest, 1, 2, bits);
        f[3] = 2;  // first map index
        Pixels p;
        ASSERT_TRUE(decode_pixels(f, &p));
        BYTE full = bits == 16 ? 248 : 255;
        EXPECT_EQ(p.rgb, (Bytes{full, 0, 0, 0, 0, full}));
        EXPECT_EQ(p.table.size(), 256u);
    }
}

/* Every depth and flag the writer takes, read back by our reader and, when
   installed, by netpbm's decoder. */
TEST_F(TgaTest, WriterRoundTripsEveryDepthRawAndCompressed) {
    auto pattern = [](int x, int y) { return (unsigned)((x / 3 + y) % 5 * 0x3F1A07 + (x > 9 ? x * 0x010203 : 0)); };
    struct Case { int bpp, saveBpp, color; } cases[] = {{8, 8, 1}, {8, 8, 0}, {24, 16, 1}, {24, 24, 1}, {32, 32, 1}};
    for (const Case &c : cases) {
        for (int compressed : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.saveBpp << (c.color ? " color" : " gray") << " rle " << compressed);
            // A gray image keeps the identity ramp, so that decoders that read
            // gray pixels as levels and ignore the map see the same image.
            int colors = c.color ? 200 : 256;
            HGLOBAL src = c.bpp == 8 ? make_dib(23, 7, 8, colors, [&](int x, int y) { return pattern(x, y) % colors; }, !c.color)
                                     : make_dib(23, 7, c.bpp, 0, [&](int x, int y) {
                                           unsigned v = pattern(x, y);
                                           return c.saveBpp == 16 ? v & 0xF8F8F8 : v;
                                       });
            ASSERT_NE(src, nullptr);
            Pixels before = pixels_of(src);
            std::string path = dir + "/rt.tga";
            ASSERT_TRUE(save_as("TGA", path, src, c.color, compressed, c.saveBpp));
            EXPECT_EQ(pixels_of(src).rgb, before.rgb);  // the writer's input is untouched
            GlobalFree(src);
            Bytes file = bytes_of(read_file(path));
            ASSERT_GE(file.size(), 18u);
            int type = (c.bpp == 8 ? (c.color ? 1 : 3) : 2) + (compressed ? 8 : 0);
            EXPECT_EQ(file[2], type);
            EXPECT_EQ(file[16], c.saveBpp);
            EXPECT_EQ(file[1], c.bpp == 8 ? 1 : 0);
            EXPECT_EQ(file[7], 24);
            EXPECT_EQ(file[5] | file[6] << 8, c.bpp == 8 ? 256 : 0);  // map length
            HGLOBAL back = load_as("TGA", path);
            ASSERT_NE(back, nullptr);
            Pixels after = pixels_of(back);
            GlobalFree(back);
            EXPECT_EQ(after.rgb, before.rgb);
            if (c.bpp == 8) {
                EXPECT_TRUE(same_table(after.table, before.table, colors));
            }
            if (c.bpp == 32) {
                EXPECT_EQ(after.alpha, before.alpha);
            }
            // netpbm reports 5-bit channels as they are (maxval 31), which
            // read_pnm scales as the reader does; the Magicks scale them their
            // own way, so they check the other depths.  ImageMagick keeps
            // bottom-first rows as an orientation it applies on request, and
            // does not read a gray image that carries a colour map.
            std::vector<std::string> decoders = {"tgatoppm '" + path + "' 2>/dev/null"};
            if (c.saveBpp != 16) decoders.push_back("gm convert '" + path + "' ppm:- 2>/dev/null");
            if (c.saveBpp != 16 && c.color)
                decoders.push_back("/usr/bin/convert '" + path + "' -auto-orient ppm:- 2>/dev/null");
            for (const std::string &cmd : decoders) {
                if (!have_program(cmd.substr(0, cmd.find(' ')).c_str())) continue;
                int w, h;
                Bytes theirs;
                ASSERT_TRUE(read_pnm(run_output(cmd), &w, &h, &theirs)) << cmd;
                EXPECT_EQ(theirs, before.rgb) << cmd;
            }
        }
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(TgaTest, WriterCodesLongRunsAndLiteralsInPacketsOf128WithinARow) {
    HGLOBAL src = make_dib(300, 2, 24, 0, [](int x, int y) { return y == 0 ? 0x102030u : (unsigned)x * 7; });
    std::string path = dir + "/runs.tga";
    ASSERT_TRUE(save_as("TGA", path, src, 1, 1, 24));
    GlobalFree(src);
    Bytes f = bytes_of(read_file(path));
    // Bottom row (y = 1 from the top) first: 300 distinct pixels as
    // literals of 128, 128 and 44; then the top row as runs of 128, 128, 44.
    size_t at = 18;
    for (int n : {128, 128, 44}) {
        ASSERT_LT(at, f.size());
        EXPECT_EQ(f[at], n - 1);
        at += 1 + 3 * n;
    }
    for (int n : {128, 128, 44}) {
        ASSERT_LT(at, f.size());
        EXPECT_EQ(f[at], 0x80 | (n - 1));
        at += 4;
    }
    EXPECT_EQ(at, f.size());
}

TEST_F(TgaTest, WriterRefusesMonochromeAnd16ColourImages) {
    struct { int bpp; const char *message; } cases[] = {{1, "Cannot save monochrome TGA files"},
                                                        {4, "Cannot save 16-color TGA files"}};
    for (auto &c : cases) {
        boxes().clear();
        HGLOBAL src = make_dib(4, 4, c.bpp, 1 << c.bpp, [](int x, int) { return (unsigned)x; });
        EXPECT_FALSE(save_as("TGA", dir + "/no.tga", src, 1, 0, c.bpp));
        GlobalFree(src);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, c.message);
    }
    EXPECT_FALSE(file_exists(dir + "/no.tga"));
}

TEST_F(TgaTest, HeaderRefusals) {
    expect_refused(tga(2, 64, 1, 1, Bytes(8)), "64-bit Targa files not supported");
    expect_refused(tga(1, 8, 1, 1, Bytes(3 * 257 + 1), 1, 257, 24), "Too many entries in Targa colormap, not supported");
    expect_refused(tga(1, 12, 1, 1, Bytes(8), 1, 1, 24), "Illegal TGA File -- Bad Header");
    expect_refused(tga(2, 7, 1, 1, Bytes(8)), "Illegal TGA File -- Bad Header");
    expect_refused(tga(5, 8, 1, 1, Bytes(8)), "Illegal TGA File -- Bad Header");
    expect_refused(tga(2, 24, 0, 1, Bytes(8)), "Illegal TGA File -- Bad Header");
    expect_refused(tga(1, 24, 1, 1, Bytes(8), 1, 1, 24), "Illegal TGA File -- Bad Header");
    expect_refused(Bytes{0, 0, 2}, "Incomplete TGA file, cannot load");
}

TEST_F(TgaTest, TruncatedDataGiantSizesAndLongIdsFailCleanly) {
    Bytes rows;
    for (int y = 0; y < 4; y++) rows.insert(rows.end(), {0x01, 1, 2, 3, 4, 5, 6, 0x81, 7, 8, 9});
    Bytes whole = tga(10, 24, 4, 4, rows);
    HGLOBAL ok = decode(whole);
    ASSERT_NE(ok, nullptr);
    GlobalFree(ok);
    for (size_t n = 18; n < whole.size(); n++)
        expect_refused(Bytes(whole.begin(), whole.begin() + n), "Incomplete TGA file, cannot load");
    expect_refused(tga(2, 24, 3, 3, Bytes(26)), "Incomplete TGA file, cannot load");
    expect_refused(tga(2, 24, 1, 1, Bytes(3), 0, 0, 0, 0, 200), "Incomplete TGA file, cannot load");
    expect_refused(tga(1, 8, 2, 2, Bytes(5), 1, 2, 24), "Incomplete TGA file, cannot load");  // map cut short
    // 65535 x 65535 x 32 bits is more than a DIB can address.
    expect_refused(tga(2, 32, 65535, 65535, Bytes(4)), "Not enough memory to load TGA image");
}

/* Damaged data that can still be shown: the reader asks, and the answer
   decides. */
TEST_F(TgaTest, RunPastTheImageOrIndexPastTheMapAsksWhetherToContinue) {
    const std::string question = "Possible errors encountered while reading\nfile, Continue loading this file?";
    Bytes runPast = tga(10, 24, 2, 1, {0x83, 1, 2, 3});                      // 4 pixels for 2
    Bytes pastMap = tga(1, 8, 2, 1, {1, 2, 3, 4, 5, 6, 0, 9}, 1, 2, 24);    // index 9, map of 2
    Bytes mapped16 = tga(1, 16, 2, 1, {1, 2, 3, 0, 0, 0, 1}, 1, 1, 24);     // index 256, map of 1
    for (const Bytes &f : {runPast, pastMap, mapped16}) {
        for (int answer : {IDNO, IDYES}) {
            boxes().clear();
            box_answer() = answer;
            HGLOBAL dib = decode(f);
            ASSERT_EQ(boxes().size(), 1u);
            EXPECT_EQ(boxes()[0].text, question);
            EXPECT_EQ(boxes()[0].caption, "Warning");
            EXPECT_EQ(dib != nullptr, answer == IDYES);
            if (dib) {
                Pixels p = pixels_of(dib);
                EXPECT_EQ(p.width, 2);
                GlobalFree(dib);
            }
        }
    }
}

TEST_F(TgaTest, NoDuringABatchRunOffersToCancelTheBatch) {
    batch_set_running(1);
    box_answer() = IDNO;
    HGLOBAL dib = decode(tga(10, 24, 1, 1, {0x81, 1, 2, 3}));
    EXPECT_EQ(dib, nullptr);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, "\n\nCancel Batch?");
    batch_set_running(0);
}

}  // namespace
