// The GIF reader against files written by other programs, its load
// information and progress, and damaged streams.
#include "codec_images.h"
#include "codecs/gif/gif.h"

namespace {

class GifRead : public CoreTest {};

std::string gif_fixture(const std::string &name) { return fixture_path("gif", name); }

HGLOBAL load_gif(const std::string &path) { return load_as("GIF", path); }

/* Loads bytes from memory with the GIF entry current, as the file handler would. */
HGLOBAL decode(const std::string &bytes, uint64_t maxPixels = 0) {
    catalogue_set_current_load(format_index("GIF"));
    HGLOBAL dib = NULL;
    return gif_decode_memory((const BYTE *)bytes.data(), bytes.size(), maxPixels, &dib) ? dib : NULL;
}

/* A stream around hand-made image data: screen of 2^(field+1) colors (a
   global gray table), one image of w x h. */
std::string stream(int w, int h, int field, int minCode, const std::string &subBlocks, BYTE imageFlags = 0) {
    std::string s = "GIF89a";
    s += {(char)w, (char)(w >> 8), (char)h, (char)(h >> 8), (char)(0x80 | field), 0, 0};
    for (int i = 0; i < (2 << field); i++) s += std::string(3, (char)(i * 16));
    s += {0x2C, 0, 0, 0, 0, (char)w, (char)(w >> 8), (char)h, (char)(h >> 8), (char)imageFlags, (char)minCode};
    return s + subBlocks;
}

TEST_F(GifRead, FixturesLoadToThePixelsGiftopnmReports) {
    const char *names[] = {"im_2color", "pnm_4color", "pnm_16color", "gm_16color", "pnm_64color",
                           "pnm_256color", "pnm_256color_interlaced", "im_64color_interlaced",
                           "gifbuild_local_first", "gifbuild_multi_global", "pnm_flat_100x60",
                           "im_256color_160x100"};
    for (const char *name : names) {
        SCOPED_TRACE(name);
        HGLOBAL dib = load_gif(gif_fixture(std::string(name) + ".gif"));
        ASSERT_NE(dib, nullptr) << last_text();
        Picture expected = parse_ppm(read_file(gif_fixture(std::string(name) + ".ppm")));
        ASSERT_GT(expected.width, 0);
        EXPECT_TRUE(dib_picture(dib) == expected);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GifRead, DepthAndTableFollowTheScreenTableSize) {
    struct Case { const char *name; int bpp; unsigned colors; DWORD version; } cases[] = {
        {"im_2color", 1, 2, 89}, {"pnm_4color", 4, 4, 87}, {"pnm_16color", 4, 16, 87},
        {"pnm_64color", 8, 64, 87}, {"pnm_256color", 8, 256, 87}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL dib = load_gif(gif_fixture(std::string(c.name) + ".gif"));
        ASSERT_NE(dib, nullptr);
        RawDib raw = dib_raw(dib);
        EXPECT_EQ(raw.bpp, c.bpp);
        EXPECT_EQ(raw.table.size(), c.colors);
        for (unsigned p : raw.pixels) ASSERT_LT(p, c.colors);
        EXPECT_EQ(loadinfo_number(LI_VERSION), c.version);
        EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), (DWORD)c.bpp);
        EXPECT_EQ(loadinfo_number(LI_COLORS), c.colors);
        EXPECT_EQ(loadinfo_number(LI_PALETTE), 1u);
        EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
        EXPECT_EQ(loadinfo_number(LI_PLANES), 1u);
        EXPECT_EQ(loadinfo_number(LI_GRAY), 0u);
        EXPECT_EQ(load_panel_steps(), (DWORD)raw.height);
        EXPECT_EQ(load_panel_current_step(), (DWORD)raw.height);
        GlobalFree(dib);
    }
}

TEST_F(GifRead, InterlacedFileLoadsLikeItsTwin) {
    HGLOBAL plain = load_gif(gif_fixture("pnm_256color.gif"));
    HGLOBAL interlaced = load_gif(gif_fixture("pnm_256color_interlaced.gif"));
    ASSERT_TRUE(plain && interlaced);
    RawDib a = dib_raw(plain), b = dib_raw(interlaced);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.table, b.table);
    GlobalFree(plain);
    GlobalFree(interlaced);
}

TEST_F(GifRead, LocalTableOfTheFirstImageIsUsedAndDeepensTheDib) {
    // Global table of 2 colors, first image with a local table of 4.
    HGLOBAL dib = load_gif(gif_fixture("gifbuild_local_first.gif"));
    ASSERT_NE(dib, nullptr);
    RawDib raw = dib_raw(dib);
    EXPECT_EQ(raw.bpp, 4);
    EXPECT_EQ(raw.table, (std::vector<uint32_t>{0xC80A0A, 0x0AC80A, 0x0A0AC8, 0xFAFA0A}));
    EXPECT_EQ(raw.pixels[0], 0u);
    EXPECT_EQ(raw.pixels[3], 3u);
    EXPECT_EQ(loadinfo_number(LI_PALETTE), 1u);
    GlobalFree(dib);
}

TEST_F(GifRead, EndCodeBeforeTheLastRowLeavesTheRestZero) {
    // Four rows of pixel value 1, then a header that claims eight.
    HGLOBAL four = make_dib(8, 4, 1, 2, [](int, int) { return 1u; }, [](unsigned i) { return i ? 0xFFFFFFu : 0u; });
    std::string dir = make_scratch_dir(), path = dir + "/four.gif";
    ASSERT_TRUE(save_as("GIF", path, four, 1, 0, 1));
    std::string bytes = read_file(path);
    bytes[8] = 8;                           // screen height
    bytes[13 + 6 + 7] = 8;                  // image height
    HGLOBAL dib = decode(bytes);
    ASSERT_NE(dib, nullptr) << last_text();
    RawDib raw = dib_raw(dib);
    ASSERT_EQ(raw.height, 8);
    for (int i = 0; i < 64; i++) EXPECT_EQ(raw.pixels[i], i < 32 ? 1u : 0u) << i;
    GlobalFree(dib);
    GlobalFree(four);
    remove_tree(dir);
}

TEST_F(GifRead, DamagedStreamsFailWithTheirMessage) {
    std::string good = read_file(gif_fixture("pnm_4color.gif"));
    struct Case { const char *what; std::string bytes; const char *message; } cases[] = {
        {"signature", "GIF90a" + good.substr(6), "Unrecognized GIF format, cannot read"},
        {"empty file", "", "Unrecognized GIF format, cannot read"},
        {"short screen", good.substr(0, 9), "Incomplete GIF file, cannot load"},
        {"short global table", good.substr(0, 15), "Incomplete GIF file, cannot load"},
        {"trailer before any image", good.substr(0, 13 + 12) + ";", "Incomplete GIF file, cannot load"},
        {"unknown block", good.substr(0, 13 + 12) + "X", "The GIF File is Damaged -- Cannot Load"},
        {"short extension", good.substr(0, 13 + 12) + std::string("\x21\xF9\x04\x01", 4),
         "The GIF File is Damaged -- Cannot Load"},
        {"data cut inside a sub-block", good.substr(0, good.size() - 20), "Incomplete GIF file, cannot load"},
        // clear, literal 0, then the data ends with a whole sub-block
        {"codes run out", stream(4, 4, 0, 2, std::string("\x01\x04\x00", 3)), "Cannot read GIF file, unknown error"},
        // clear, literal 0, code 7 while the next free code is 6
        {"code beyond the next free", stream(4, 4, 0, 2, std::string("\x02\xC4\x01\x00", 4)),
         "Cannot read GIF file, unknown error"},
        // 4 colors, minimum code size 3: clear, literal 5
        {"color past the table", stream(4, 4, 1, 3, std::string("\x01\x58\x00", 3)),
         "Cannot read GIF file, unknown error"},
        // clear, then code 6 (no previous string to extend)
        {"string code right after a clear", stream(4, 4, 0, 2, std::string("\x01\x34\x00", 3)),
         "Cannot read GIF file, unknown error"},
        {"minimum code size 12", stream(4, 4, 0, 12, std::string("\x01\x00\x00", 3)),
         "Cannot read GIF file, unknown error"},
        {"zero width", stream(0, 4, 0, 2, std::string("\x01\x04\x00", 3)), "The GIF File is Damaged -- Cannot Load"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        boxes().clear();
        EXPECT_EQ(decode(c.bytes), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(last_text(), c.message);
    }
}

TEST_F(GifRead, ImagesBeyondTheMemoryBoundFailAsOutOfMemory) {
    std::string giant = stream(65535, 65535, 7, 8, std::string("\x02\x00\x01\x00", 4));
    EXPECT_EQ(decode(giant, 1u << 24), nullptr);
    EXPECT_EQ(last_text(), "Out of memory -- Cannot load GIF file");
}

TEST_F(GifRead, MissingFileFailsWithoutAMessage) {
    EXPECT_EQ(load_gif("/nonexistent/none.gif"), nullptr);
    EXPECT_TRUE(boxes().empty());
}

}  // namespace
