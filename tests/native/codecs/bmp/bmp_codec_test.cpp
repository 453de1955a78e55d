// The BMP, DIB and RLE reader and writer: round trips at every depth and
// flag the entries accept, the bytes the writer must produce, the load
// information, and the header cases the reader must get right.
#include <string.h>

#include "bmp_test_support.h"
#include "codecs/bmp/bmp.h"

namespace {

struct Case {
    const char *ext;
    WORD bits;
    int compressed;
    DWORD fileCompression;  // what the written header must say
};

TEST_F(BmpTest, EveryDepthAndFlagRoundTrips) {
    const Case cases[] = {
        {"BMP", 1, 0, 0},  {"BMP", 4, 0, 0},  {"BMP", 8, 0, 0},  {"BMP", 24, 0, 0}, {"BMP", 32, 0, 0},
        {"DIB", 1, 1, 1},  {"DIB", 4, 1, 2},  {"DIB", 8, 1, 1},  {"DIB", 24, 0, 0}, {"DIB", 8, 0, 0},
        {"RLE", 1, 1, 1},  {"RLE", 4, 1, 2},  {"RLE", 8, 1, 1},
        {"RLE", 24, 1, 0},  // compression is ignored from 16 bits up
    };
    for (const Case &c : cases) {
        for (LONG width : {1, 13, 64}) {
            SCOPED_TRACE(std::string(c.ext) + " " + std::to_string(c.bits) + " bits, width " + std::to_string(width));
            HGLOBAL dib = test_dib(width, 7, c.bits, (unsigned)(width * 100 + c.bits));
            const BYTE *bytes = static_cast<BYTE *>(GlobalLock(dib));
            Bytes before(bytes, bytes + GlobalSize(dib));
            GlobalUnlock(dib);
            std::string file = path("rt." + std::string(c.ext));
            ASSERT_TRUE(save_as(c.ext, file, dib, c.compressed, c.bits));
            Bytes written = file_bytes(file);
            ASSERT_GE(written.size(), 54u);
            EXPECT_EQ(written[30], c.fileCompression);
            HGLOBAL back = load_as(c.ext, file);
            ASSERT_NE(back, nullptr) << last_text();
            EXPECT_TRUE(rgb_of(back) == rgb_of(dib));
            BITMAPINFOHEADER a = header_of_dib(dib), b = header_of_dib(back);
            EXPECT_EQ(b.biBitCount, a.biBitCount);
            EXPECT_EQ(b.biCompression, 0u);
            EXPECT_EQ(b.biClrUsed, a.biClrUsed);
            // The palette comes back entry for entry; the writer left its DIB alone.
            BYTE *pa = static_cast<BYTE *>(GlobalLock(dib)), *pb = static_cast<BYTE *>(GlobalLock(back));
            EXPECT_EQ(memcmp(pa + 40, pb + 40, a.biClrUsed * 4), 0);
            EXPECT_EQ(memcmp(pa, before.data(), before.size()), 0);
            GlobalUnlock(dib);
            GlobalUnlock(back);
            GlobalFree(dib);
            GlobalFree(back);
        }
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(BmpTest, WrittenFileIsTheHeaderThenTheDibBlock) {
    // A 7 x 1 8-bit image of 9s: the documented RLE8 row plus end of bitmap.
    HGLOBAL dib = test_dib(7, 1, 8, 1);
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    memset(p + 40 + 1024, 9, 7);
    p[40 + 1024 + 7] = 0;
    GlobalUnlock(dib);
    ASSERT_TRUE(save_as("RLE", path("a.rle"), dib, 1, 8));
    Bytes f = file_bytes(path("a.rle"));
    Bytes expected = {'B', 'M'};
    put32(expected, 14 + 40 + 1024 + 8);
    put32(expected, 0);
    put32(expected, 14 + 40 + 1024);
    Bytes info = info_header(7, 1, 8, 1, 8, 256);
    expected.insert(expected.end(), info.begin(), info.end());
    p = static_cast<BYTE *>(GlobalLock(dib));
    expected.insert(expected.end(), p + 40, p + 40 + 1024);
    GlobalUnlock(dib);
    expected.insert(expected.end(), {7, 9, 1, 0, 0, 0, 0, 1});
    EXPECT_EQ(f, expected);

    // Uncompressed: the whole block after the 14 bytes, byte for byte.
    ASSERT_TRUE(save_as("BMP", path("a.bmp"), dib, 0, 8));
    Bytes g = file_bytes(path("a.bmp"));
    p = static_cast<BYTE *>(GlobalLock(dib));
    ASSERT_EQ(g.size(), 14 + GlobalSize(dib));
    EXPECT_EQ(memcmp(g.data() + 14, p, GlobalSize(dib)), 0);
    GlobalUnlock(dib);
    EXPECT_EQ(g[0], 'B');
    EXPECT_EQ(g[1], 'M');
    EXPECT_EQ(g[10] | g[11] << 8, 14 + 40 + 1024);
    EXPECT_EQ((size_t)(g[2] | g[3] << 8 | g[4] << 16), g.size());
    GlobalFree(dib);
}

TEST_F(BmpTest, LoadFillsTheInformationAndStepsFiveTimes) {
    static std::vector<DWORD> steps;
    static LoadInfo seen;
    static std::string creator;
    steps.clear();
    LoadPanelHooks hooks = {};
    hooks.progress = [](DWORD step, DWORD) { steps.push_back(step); };
    hooks.close = [] {
        seen = *loadinfo_get();
        creator = loadinfo_text(LI_CREATOR) ? loadinfo_text(LI_CREATOR) : "";
    };
    load_panel_set_hooks(&hooks);
    Bytes info = info_header(5, 3, 4, 0, 0, 0);  // image size 0: worked out
    write_file(path("i.bmp"), bytes_to_string(bmp_file(info, gray_table(16), Bytes(12, 0x12))));
    HGLOBAL dib = load_as("BMP", path("i.bmp"));
    load_panel_set_hooks(nullptr);
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(steps.back(), 5u);
    EXPECT_EQ(steps.size(), 6u);  // 0 of 5, then 1 .. 5
    EXPECT_EQ(seen.width, 5u);
    EXPECT_EQ(seen.height, 3u);
    EXPECT_EQ(seen.bitsPerPixel, 4u);
    EXPECT_EQ(seen.colors, 16u);
    EXPECT_EQ(seen.memory, 12u);
    EXPECT_NE(seen.palette, 0u);
    EXPECT_EQ(seen.planes, 1u);
    EXPECT_EQ(seen.version, 3u);
    EXPECT_EQ(seen.compressed, 0u);
    EXPECT_EQ(creator, "IBMPC");
    EXPECT_EQ(header_of_dib(dib).biSizeImage, 12u);
    GlobalFree(dib);
}

TEST_F(BmpTest, HeaderCasesLoadAsDocumented) {
    // Headerless: the pixels follow the table.
    Bytes info = info_header(2, 2, 8, 0, 999, 2);  // wrong image size: recomputed
    Bytes dibFile = info;
    Bytes table = {10, 20, 30, 0, 40, 50, 60, 0};
    dibFile.insert(dibFile.end(), table.begin(), table.end());
    dibFile.insert(dibFile.end(), {0, 1, 0, 0, 1, 0, 0, 0});
    write_file(path("h.dib"), bytes_to_string(dibFile));
    HGLOBAL dib = load_as("DIB", path("h.dib"));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{60, 50, 40, 30, 20, 10, 30, 20, 10, 60, 50, 40}));
    EXPECT_EQ(header_of_dib(dib).biSizeImage, 8u);
    GlobalFree(dib);

    // OS/2: 12-byte header, 3-byte entries widened with a 0 fourth byte.
    Bytes os2 = {'B', 'M'};
    put32(os2, 14 + 12 + 6 + 4);
    put32(os2, 0);
    put32(os2, 14 + 12 + 6);
    put32(os2, 12);
    put16(os2, 2);
    put16(os2, 1);
    put16(os2, 1);
    put16(os2, 1);
    os2.insert(os2.end(), {1, 2, 3, 4, 5, 6, 0x40, 0, 0, 0});
    write_file(path("o.bmp"), bytes_to_string(os2));
    dib = load_as("BMP", path("o.bmp"));
    ASSERT_NE(dib, nullptr) << last_text();
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    EXPECT_EQ(Bytes(p + 40, p + 48), (Bytes{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER *>(p)->biSize, 40u);
    EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER *>(p)->biClrUsed, 2u);
    GlobalUnlock(dib);
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{3, 2, 1, 6, 5, 4}));
    GlobalFree(dib);

    // A short OS/2 file keeps what it has.
    os2.resize(os2.size() - 4);
    write_file(path("s.bmp"), bytes_to_string(os2));
    dib = load_as("BMP", path("s.bmp"));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{3, 2, 1, 3, 2, 1}));
    GlobalFree(dib);

    // A 24-bit file with a table loses the table; 16 bits load on this
    // (24-bit) screen.
    Bytes t24 = bmp_file(info_header(1, 1, 24, 0, 4, 2), Bytes(8, 7), {1, 2, 3, 0});
    write_file(path("t.bmp"), bytes_to_string(t24));
    dib = load_as("BMP", path("t.bmp"));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(header_of_dib(dib).biClrUsed, 0u);
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{3, 2, 1}));
    GlobalFree(dib);
    write_file(path("16.bmp"), bytes_to_string(bmp_file(info_header(1, 1, 16, 0, 4, 0), {}, {0x1F, 0, 0, 0})));
    dib = load_as("BMP", path("16.bmp"));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(header_of_dib(dib).biBitCount, 16);
    GlobalFree(dib);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(BmpTest, RefusedHeadersNameTheirReason) {
    struct Refusal {
        Bytes file;
        const char *text;
    } refusals[] = {
        {bmp_file(info_header(2, -2, 24, 0, 0, 0), {}, Bytes(16, 0)), "Illegal or Unsupported BMP/DIB file format"},
        {bmp_file(info_header(2, 2, 16, 3, 8, 0), Bytes(12, 0), Bytes(8, 0)), "Unsupported BMP/DIB file format"},
        {bmp_file(info_header(2, 2, 7, 0, 0, 0), {}, Bytes(16, 0)), "Illegal or Unsupported BMP/DIB file format"},
        {Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 0, 0}, "Error, not a Legitimate DIB File!"},
        {Bytes{}, "Error, not a Legitimate DIB File!"},
    };
    for (const Refusal &r : refusals) {
        boxes().clear();
        write_file(path("r.bmp"), bytes_to_string(r.file));
        EXPECT_EQ(load_as("BMP", path("r.bmp")), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, r.text);
    }
    // A file that does not open fails without a message of the reader.
    boxes().clear();
    HGLOBAL none = NULL;
    std::string missing = path("missing.bmp");
    EXPECT_EQ(BmpLoad(&missing[0], &none), 0);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(BmpTest, FailedWriteReportsAndLeavesNoFile) {
    HGLOBAL dib = test_dib(4, 4, 8, 3);
    std::string target = path("no-such-dir/x.bmp");
    EXPECT_EQ(BmpSave(&target[0], dib, 1, 0, 8), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot write file, check disk space");
    EXPECT_TRUE(read_file(target).empty());
    GlobalFree(dib);
}

}  // namespace
