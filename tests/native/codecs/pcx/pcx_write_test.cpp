// The PCX writer: round trips at every depth it takes, files that peer
// decoders read to the same pixels, the header and run bytes it promises.
#include "codec_images.h"
#include "codecs/pcx/pcx.h"

namespace {

class PcxWrite : public ScratchTest {};

uint32_t palette_color(unsigned i) { return (i * 53u & 255) << 16 | (i * 7u & 255) << 8 | (255 - i); }
uint32_t black_white(unsigned i) { return i ? 0xFFFFFFu : 0u; }

struct Shape { int width, height, bpp; bool noisy; };

/* Odd widths make odd line lengths that the writer pads to even ones. */
const Shape shapes[] = {{1, 1, 1, false}, {13, 7, 1, true},  {5, 9, 4, true},    {33, 17, 4, false},
                        {1, 5, 8, true},  {71, 43, 8, false}, {3, 2, 24, true}, {150, 40, 24, false},
                        /* around the reader's sixteen-pixel steps */
                        {16, 2, 24, true}, {17, 3, 24, true}, {18, 2, 24, true}, {35, 4, 24, true}};

HGLOBAL shape_dib(const Shape &s) {
    unsigned colors = s.bpp == 24 ? 0 : 1u << s.bpp;
    return make_dib(
        s.width, s.height, s.bpp, colors,
        [&](int x, int y) {
            unsigned v = s.noisy ? noise(x, y) : (unsigned)((x / 20) * 0x404040 + y * 0x010203);
            return s.bpp == 24 ? v & 0xFFFFFF : v % colors;
        },
        s.bpp == 1 ? black_white : palette_color);
}

TEST_F(PcxWrite, RoundTripKeepsPixelsAndTableAtEveryDepth) {
    for (const Shape &s : shapes) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.bpp);
        HGLOBAL dib = shape_dib(s);
        expect_round_trip("PCX", dir + "/round.pcx", dib, s.bpp, last_box_text);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(PcxWrite, PeerDecodersReadOurFilesToTheSamePixels) {
    for (const Shape &s : shapes) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.bpp);
        HGLOBAL dib = shape_dib(s);
        std::string path = dir + "/peer.pcx";
        ASSERT_TRUE(save_as("PCX", path, dib, 1, 0, (WORD)s.bpp));
        Picture ours = dib_picture(dib);
        EXPECT_TRUE(parse_ppm(run_output("pcxtoppm '" + path + "' 2>/dev/null")) == ours);
        // ImageMagick shows one-plane 1-bit files with the bit values
        // inverted whatever the header's colors (netpbm's own files too).
        if (s.bpp != 1) {
            EXPECT_TRUE(parse_ppm(run_output("convert '" + path + "' -depth 8 ppm:- 2>/dev/null")) == ours);
        }
        GlobalFree(dib);
    }
}

TEST_F(PcxWrite, HeaderDescribesTheLayoutOfEachDepth) {
    struct Case { int bpp, bitsPerPlane, planes, bytesPerLine; } cases[] = {
        {1, 1, 1, 2}, {4, 1, 4, 2}, {8, 8, 1, 14}, {24, 8, 3, 14}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bpp);
        HGLOBAL dib = shape_dib({13, 3, c.bpp, true});
        std::string path = dir + "/h.pcx";
        ASSERT_TRUE(save_as("PCX", path, dib, 1, 0, (WORD)c.bpp));
        std::string b = read_file(path);
        EXPECT_EQ(b.substr(0, 4), std::string({10, 5, 1, (char)c.bitsPerPlane}));
        EXPECT_EQ(b.substr(4, 12), std::string({0, 0, 0, 0, 12, 0, 2, 0, 0, 0, 0, 0}));
        EXPECT_EQ((BYTE)b[65], c.planes);
        EXPECT_EQ((BYTE)b[66] | (BYTE)b[67] << 8, c.bytesPerLine);
        EXPECT_EQ(b.substr(68, 60), std::string({2, 0}) + std::string(58, '\0'));
        bool tableInHeader = c.bpp == 1 || c.bpp == 4;
        EXPECT_EQ(b.substr(16, 3), tableInHeader && c.bpp == 4 ? std::string({0, 0, (char)255})
                                                                 : std::string(3, '\0'));
        if (c.bpp == 8) {
            EXPECT_EQ((BYTE)b[b.size() - 769], 0x0C);
        }
        GlobalFree(dib);
    }
}

TEST_F(PcxWrite, LongRunsAreCutAt63AndHighBytesEscaped) {
    // One row of 64 equal bytes: (0xFF, v) then the 64th byte alone.
    for (unsigned v : {5u, 0xC8u}) {
        HGLOBAL dib = make_dib(64, 1, 8, 256, [&](int, int) { return v; }, palette_color);
        std::string path = dir + "/run.pcx";
        ASSERT_TRUE(save_as("PCX", path, dib, 1, 0, 8));
        std::string b = read_file(path);
        std::string expected = v < 0xC0 ? std::string({(char)0xFF, (char)v, (char)v})
                                        : std::string({(char)0xFF, (char)v, (char)0xC1, (char)v});
        EXPECT_EQ(b.substr(128, b.size() - 128 - 769), expected);
        GlobalFree(dib);
    }
}

TEST_F(PcxWrite, OtherDepthsAreRefusedWithTheArgumentInTheMessage) {
    DibParts d;
    ASSERT_TRUE(dib_create(4, 4, 32, 0, &d));
    HGLOBAL dib = d.handle;
    dib_close(&d);
    EXPECT_FALSE(save_as("PCX", dir + "/deep.pcx", dib, 1, 0, 16));
    EXPECT_EQ(last_text(), "Cannot save 16-bit PCX files");
    EXPECT_EQ(boxes().size(), 1u);
    GlobalFree(dib);
}

TEST_F(PcxWrite, UncreatableFileFailsWithTheOpenMessage) {
    HGLOBAL dib = shape_dib({5, 9, 4, true});
    catalogue_set_current_save(format_index("PCX"));
    char path[] = "/nonexistent/dir/x.pcx";
    EXPECT_FALSE(PcxSave(path, dib, 1, 0, 4));
    EXPECT_EQ(last_text(), "Cannot open output file, check disk space");
    GlobalFree(dib);
}

}  // namespace
