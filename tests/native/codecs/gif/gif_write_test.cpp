// The GIF writer: round trips at every depth it takes, files that peer
// decoders read to the same pixels, the exact bytes it promises, refusals.
#include "codec_images.h"
#include "codecs/gif/gif.h"

namespace {

class GifWrite : public ScratchTest {};

uint32_t palette_color(unsigned i) { return (i * 37u) << 16 | (255 - i) << 8 | (i * 91u & 255); }

struct Shape { int width, height, bpp; bool noisy; };

/* Odd widths pad every row; the noisy 8-bit image outgrows the 4096-code
   table several times, so the writer clears and the reader resets. */
const Shape shapes[] = {{1, 1, 1, false}, {13, 7, 1, true}, {64, 3, 1, false}, {5, 9, 4, true},
                        {33, 17, 4, false}, {1, 5, 8, true}, {71, 43, 8, false}, {300, 200, 8, true}};

HGLOBAL shape_dib(const Shape &s) {
    unsigned colors = 1u << s.bpp;
    return make_dib(
        s.width, s.height, s.bpp, colors,
        [&](int x, int y) { return (s.noisy ? noise(x, y) : (unsigned)(x / 3 + y)) % colors; }, palette_color);
}

TEST_F(GifWrite, RoundTripKeepsIndicesAndTableAtEveryDepth) {
    for (const Shape &s : shapes) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.bpp);
        HGLOBAL dib = shape_dib(s);
        expect_round_trip("GIF", dir + "/round.gif", dib, s.bpp, last_box_text);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GifWrite, PeerDecodersReadOurFilesToTheSamePixels) {
    for (const Shape &s : shapes) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.bpp);
        HGLOBAL dib = shape_dib(s);
        std::string path = dir + "/peer.gif";
        ASSERT_TRUE(save_as("GIF", path, dib, 1, 0, (WORD)s.bpp));
        Picture ours = dib_picture(dib);
        EXPECT_TRUE(parse_ppm(run_output("giftopnm '" + path + "' 2>/dev/null | ppmtoppm")) == ours);
        EXPECT_TRUE(parse_ppm(run_output("convert '" + path + "' -depth 8 ppm:- 2>/dev/null")) == ours);
        GlobalFree(dib);
    }
}

TEST_F(GifWrite, TinyMonochromeImageHasExactlyTheseBytes) {
    // Two pixels 0, 1: minimum code size 2, codes clear, 0, 1, end at 3 bits.
    HGLOBAL dib = make_dib(2, 1, 1, 2, [](int x, int) { return (unsigned)x; },
                           [](unsigned i) { return i ? 0x102030u : 0x405060u; });
    std::string path = dir + "/tiny.gif";
    ASSERT_TRUE(save_as("GIF", path, dib, 1, 0, 1));
    const unsigned char expected[] = {'G', 'I', 'F', '8', '7', 'a', 2, 0, 1, 0, 0x80, 0, 0,
                                      0x40, 0x50, 0x60, 0x10, 0x20, 0x30,
                                      0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,
                                      2, 2, 0x44, 0x0A, 0, 0x3B};
    EXPECT_EQ(read_file(path), std::string((const char *)expected, sizeof expected));
    GlobalFree(dib);
}

TEST_F(GifWrite, HeaderCarriesTheDepthAndDataGoesInPacketsOf254) {
    HGLOBAL dib = shape_dib({64, 64, 8, true});
    std::string path = dir + "/packets.gif";
    ASSERT_TRUE(save_as("GIF", path, dib, 1, 0, 8));
    std::string bytes = read_file(path);
    const size_t data = 13 + 3 * 256 + 10;
    EXPECT_EQ((BYTE)bytes[10], 0xE7);      // 0x80 | (bits - 1) << 5 | (bits - 1)
    EXPECT_EQ((BYTE)bytes[data], 8);       // minimum code size
    EXPECT_EQ((BYTE)bytes[data + 1], 254); // first packet
    EXPECT_EQ((BYTE)bytes[data + 2 + 254], 254);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\0;", 2));
    GlobalFree(dib);
}

TEST_F(GifWrite, OtherDepthsAreRefusedWithTheArgumentInTheMessage) {
    HGLOBAL dib = make_dib(4, 4, 24, 0, [](int x, int y) { return (unsigned)(x * y); }, palette_color);
    std::string path = dir + "/deep.gif";
    EXPECT_FALSE(save_as("GIF", path, dib, 1, 0, 24));
    EXPECT_EQ(last_text(), "Cannot save 24-bit GIF files");
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    GlobalFree(dib);
}

TEST_F(GifWrite, WriterLeavesItsDibUnchanged) {
    HGLOBAL dib = shape_dib({33, 17, 4, true});
    size_t size = GlobalSize(dib);
    std::string before((const char *)GlobalLock(dib), size);
    GlobalUnlock(dib);
    ASSERT_TRUE(save_as("GIF", dir + "/same.gif", dib, 1, 0, 4));
    EXPECT_EQ(std::string((const char *)GlobalLock(dib), size), before);
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST_F(GifWrite, UncreatableFileFailsWithTheHeaderMessage) {
    HGLOBAL dib = shape_dib({5, 9, 4, true});
    catalogue_set_current_save(format_index("GIF"));
    char path[] = "/nonexistent/dir/x.gif";
    EXPECT_FALSE(GifSave(path, dib, 1, 0, 4));
    EXPECT_EQ(last_text(), "Cannot write GIF header, check disk space");
    GlobalFree(dib);
}

}  // namespace
