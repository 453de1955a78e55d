#include <dirent.h>

#include "codec_images.h"
#include "codecs/pict/pict.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/pict/";

struct PictTest : CodecFixture {
    PictTest() : CodecFixture("PCT", PictDecode) {}
    Pixels decode_pixels(const Bytes &file) {
        HGLOBAL dib = decode(file);
        Pixels p;
        if (dib) {
            p = pixels_of(dib);
            GlobalFree(dib);
        }
        return p;
    }
};

void put16(Bytes &b, unsigned v) { b.insert(b.end(), {(BYTE)(v >> 8), (BYTE)v}); }
void put32(Bytes &b, unsigned v) {
    put16(b, v >> 16);
    put16(b, v & 0xFFFF);
}
void rect(Bytes &b, int w, int h) {
    put16(b, 0);
    put16(b, 0);
    put16(b, h);
    put16(b, w);
}

/* A version 2 picture: application header, size, frame, version, header
   opcode, the given opcodes, end. */
Bytes pict2(const Bytes &ops, int w = 4, int h = 2, bool appHeader = true) {
    Bytes f(appHeader ? 512 : 0, 0);
    put16(f, 0);
    rect(f, w, h);
    f.insert(f.end(), {0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00});
    f.insert(f.end(), 24, 0);
    f.insert(f.end(), ops.begin(), ops.end());
    f.insert(f.end(), {0x00, 0xFF});
    return f;
}

Bytes pict1(const Bytes &ops, int w = 8, int h = 2) {
    Bytes f(512, 0);
    put16(f, 0);
    rect(f, w, h);
    f.insert(f.end(), {0x11, 0x01});
    f.insert(f.end(), ops.begin(), ops.end());
    f.push_back(0xFF);
    return f;
}

struct Map {
    int w = 4, h = 2, pixelSize = 8, packType = 0, cmpCount = 1;
    unsigned rowBytes = 0;  /* 0: just wide enough */
    std::vector<std::array<int, 4>> table;  /* value, r, g, b */
    bool device = false;
};

/* Pixel-map opcode (0x98 or 0x9A, +1 with a region) up to its pixel data. */
Bytes pixmap_op(unsigned opcode, const Map &m, Bytes data, bool v2 = true) {
    Bytes b;
    if (v2) put16(b, opcode); else b.push_back((BYTE)opcode);
    bool direct = opcode >= 0x9A;
    if (direct) put32(b, 0xFF);
    unsigned rowBytes = m.rowBytes ? m.rowBytes : (unsigned)((m.w * m.pixelSize + 7) / 8);
    put16(b, rowBytes | 0x8000);
    rect(b, m.w, m.h);
    put16(b, 0);            /* version */
    put16(b, m.packType);
    put32(b, 0);            /* packSize */
    put32(b, 0x480000);
    put32(b, 0x480000);
    put16(b, direct ? 16 : 0);
    put16(b, m.pixelSize);
    put16(b, m.cmpCount);
    put16(b, m.pixelSize > 8 ? 8 : m.pixelSize);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    if (!direct) {
        put32(b, 0);
        put16(b, m.device ? 0x8000 : 0);
        put16(b, (unsigned)m.table.size() - 1);
        for (auto &e : m.table) {
            put16(b, e[0]);
            put16(b, e[1] * 257);
            put16(b, e[2] * 257);
            put16(b, e[3] * 257);
        }
    }
    rect(b, m.w, m.h);
    rect(b, m.w, m.h);
    put16(b, 0);
    if (opcode & 1) {
        put16(b, 10);
        rect(b, m.w, m.h);
    }
    b.insert(b.end(), data.begin(), data.end());
    if (v2 && (b.size() & 1)) b.push_back(0);
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(PictTest, FixturesFromOtherProgramsLoadToImageMagicksPixels) {
    DIR *d = opendir(kFixtures.c_str());
    ASSERT_NE(d, nullptr);
    int checked = 0;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".pct") continue;
        SCOPED_TRACE(name);
        std::string stem = name.substr(0, name.size() - 4);
        int w, h;
        Bytes expected;
        ASSERT_TRUE(read_pnm(read_file(kFixtures + stem + ".pnm"), &w, &h, &expected));
        HGLOBAL dib = load_as("PCT", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_box_text();
        Pixels p = pixels_of(dib);
        GlobalFree(dib);
        EXPECT_EQ(p.width, w);
        EXPECT_EQ(p.height, h);
        EXPECT_EQ(p.rgb, expected);
        checked++;
    }
    closedir(d);
    EXPECT_GE(checked, 8);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(PictTest, Version1BitmapsRawAndPacked) {
    // 8 x 2 bitmap, rowBytes 2 (< 8: raw rows), opcode 0x90.
    Bytes raw = {0x90};
    put16(raw, 2);
    rect(raw, 8, 2);
    rect(raw, 8, 2);
    rect(raw, 8, 2);
    put16(raw, 0);
    raw.insert(raw.end(), {0xF0, 0x00, 0x0F, 0x00});
    Pixels p = decode_pixels(pict1(raw));
    ASSERT_EQ(p.bpp, 1);
    EXPECT_EQ(p.index, (Bytes{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(p.rgb[0], 0);  // 1 is black
    EXPECT_EQ(p.rgb[12], 255);
    // 80 x 1, rowBytes 10, packed: a run of ten 0xAA bytes.
    Bytes packed = {0x98};
    put16(packed, 10);
    rect(packed, 80, 1);
    rect(packed, 80, 1);
    rect(packed, 80, 1);
    put16(packed, 0);
    packed.insert(packed.end(), {2, 0xF7, 0xAA});
    p = decode_pixels(pict1(packed, 80, 1));
    ASSERT_EQ(p.width, 80);
    for (int x = 0; x < 80; x++) EXPECT_EQ(p.index[x], (x & 1) ? 0 : 1);
    EXPECT_EQ(loadinfo_number(LI_VERSION), 1u);
}

TEST_F(PictTest, PaletteMapsKeepTheirTables) {
    // 2-bit pixels become a 4-bit DIB; the table by value.
    Map m;
    m.w = 5, m.h = 1, m.pixelSize = 2;
    m.table = {{3, 255, 0, 0}, {0, 0, 0, 255}, {1, 0, 255, 0}, {2, 9, 9, 9}};
    Pixels p = decode_pixels(pict2(pixmap_op(0x98, m, {0x1B, 0xC0})));  // 0 1 2 3 3
    ASSERT_EQ(p.bpp, 4);
    EXPECT_EQ(p.index, (Bytes{0, 1, 2, 3, 3}));
    EXPECT_EQ(p.rgb, (Bytes{0, 0, 255, 0, 255, 0, 9, 9, 9, 255, 0, 0, 255, 0, 0}));
    // A device table is indexed by position; 4 bits, with a region.
    Map d;
    d.w = 3, d.h = 1, d.pixelSize = 4, d.device = true;
    d.table = {{7, 10, 20, 30}, {7, 40, 50, 60}};
    p = decode_pixels(pict2(pixmap_op(0x99, d, {0x10, 0x10})));
    ASSERT_EQ(p.bpp, 4);
    EXPECT_EQ(p.rgb, (Bytes{40, 50, 60, 10, 20, 30, 40, 50, 60}));
}

TEST_F(PictTest, ThePlainBitsOpcodeStoresWideRowsUnpacked) {
    Map m;
    m.w = 10, m.h = 2;
    m.table = {{0, 1, 2, 3}, {1, 4, 5, 6}};
    Bytes rows = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    Pixels p = decode_pixels(pict2(pixmap_op(0x90, m, rows)));
    ASSERT_EQ(p.index, rows) << last_text();
}

TEST_F(PictTest, DirectMapsOf16And32Bits) {
    // 16 bits, pack type 3: one literal word and a run of 3 words; rowBytes 8.
    Map m16;
    m16.w = 4, m16.h = 1, m16.pixelSize = 16, m16.packType = 3, m16.cmpCount = 3;
    Pixels p = decode_pixels(pict2(pixmap_op(0x9A, m16, {6, 0x00, 0x7C, 0x00, 0xFE, 0x03, 0xE0})));
    ASSERT_EQ(p.bpp, 24);
    EXPECT_EQ(p.rgb, (Bytes{255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0}));
    // 32 bits unpacked (pack type 1): x, r, g, b.
    Map m32;
    m32.w = 2, m32.h = 1, m32.pixelSize = 32, m32.packType = 1, m32.cmpCount = 3;
    p = decode_pixels(pict2(pixmap_op(0x9A, m32, {0, 1, 2, 3, 0, 4, 5, 6})));
    EXPECT_EQ(p.rgb, (Bytes{1, 2, 3, 4, 5, 6}));
    // 32 bits, pack type 4, four planes (alpha first), with a region.
    Map m4;
    m4.w = 3, m4.h = 1, m4.pixelSize = 32, m4.packType = 4, m4.cmpCount = 4;
    Bytes planes = {13, 11, 9, 9, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    p = decode_pixels(pict2(pixmap_op(0x9B, m4, planes)));
    EXPECT_EQ(p.rgb, (Bytes{10, 40, 70, 20, 50, 80, 30, 60, 90}));
}

TEST_F(PictTest, OpcodesBeforeTheBitmapAreSkippedByTheirLengths) {
    Map m;
    m.w = 2, m.h = 1;
    m.table = {{0, 1, 2, 3}, {1, 4, 5, 6}};
    Bytes ops = {0x00, 0x04, 0x01, 0x00};                          // TxFace: one byte and a pad
    ops.insert(ops.end(), {0x00, 0x01, 0x00, 0x0A});                // clip region of 10 bytes
    ops.insert(ops.end(), 8, 0);
    ops.insert(ops.end(), {0x00, 0x28, 0, 0, 0, 0, 3, 'a', 'b', 'c'});  // long text, even
    ops.insert(ops.end(), {0x00, 0x2B, 1, 2, 2, 'h', 'i', 0});     // DHDV text and pad
    ops.insert(ops.end(), {0x00, 0xA1, 0, 5, 0, 2, 'x', 'y'});      // long comment
    ops.insert(ops.end(), {0x00, 0x12, 0, 2});                      // dither pattern
    ops.insert(ops.end(), 14, 0);
    ops.insert(ops.end(), {0x00, 0x71, 0x00, 0x0C});                // polygon
    ops.insert(ops.end(), 10, 0);
    ops.insert(ops.end(), {0x00, 0xA5, 0x00, 0x02, 1, 2});          // reserved, word length
    ops.insert(ops.end(), {0x00, 0xB7});                            // reserved, no data
    ops.insert(ops.end(), {0x00, 0xD3, 0, 0, 0, 2, 7, 7});          // reserved, long length
    ops.insert(ops.end(), {0x02, 0x10, 1, 2, 3, 4});                // 0x0210: 4 bytes
    ops.insert(ops.end(), {0x80, 0x10});                            // no data
    ops.insert(ops.end(), {0x81, 0x00, 0, 0, 0, 3, 1, 2, 3, 0});    // long length, pad
    // A colour pattern with its own 8 x 1 pixel map (rowBytes 8: one packed row).
    Bytes pat = {0x00, 0x13, 0, 1};
    pat.insert(pat.end(), 8, 0);
    put16(pat, 0x8008);
    rect(pat, 8, 1);
    pat.insert(pat.end(), 36, 0);
    pat[pat.size() - 36 + 19] = 8;  // pixelSize 8
    put32(pat, 0);
    put16(pat, 0);
    put16(pat, 0);
    pat.insert(pat.end(), {0, 0, 1, 1, 1, 1, 1, 1});                // one entry
    pat.insert(pat.end(), {2, 0xF9, 5});                             // a run of 8
    pat.push_back(0);                                                 // pad
    Bytes file = pict2(concat({ops, pat, pixmap_op(0x98, m, {0x01, 0x00})}));
    Pixels p = decode_pixels(file);
    ASSERT_EQ(p.width, 2) << last_text();
    EXPECT_EQ(p.rgb, (Bytes{4, 5, 6, 1, 2, 3}));
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(PictTest, APictureWithoutItsApplicationHeaderIsFound) {
    Map m;
    m.w = 2, m.h = 1;
    m.table = {{0, 1, 2, 3}, {1, 4, 5, 6}};
    Pixels p = decode_pixels(pict2(pixmap_op(0x98, m, {0x00, 0x01}), 4, 2, false));
    EXPECT_EQ(p.rgb, (Bytes{1, 2, 3, 4, 5, 6})) << last_text();
}

TEST_F(PictTest, EveryMessageOfTheReader) {
    Map m;
    m.table = {{0, 0, 0, 0}};
    Bytes good = pixmap_op(0x98, m, {0, 0, 0, 0, 0, 0, 0, 0});
    Pixels ok = decode_pixels(pict2(good));
    ASSERT_EQ(ok.width, 4) << last_text();
    expect_refused(Bytes(600, 0), "Cannot find PICT version number.  Be sure resource fork is stripped from image.");
    Bytes v3 = pict2(good);
    v3[512 + 10 + 2] = 3;
    expect_refused(v3, "Not a supported PICT file version");
    Bytes noFF = pict2(good);
    noFF[512 + 10 + 3] = 0xFE;
    expect_refused(noFF, "Illegal or unsupported PICT2 file");
    expect_refused(pict2({}), "Did not find bitmap in PICT");
    Map depth = m;
    depth.pixelSize = 3;
    expect_refused(pict2(pixmap_op(0x98, depth, Bytes(8))), "Unsupported color depth, cannot load");
    Map pack = m;
    pack.pixelSize = 32, pack.packType = 2, pack.cmpCount = 3;
    expect_refused(pict2(pixmap_op(0x9A, pack, Bytes(40))), "Unsupported Compression type, cannot load");
    Map narrow = m;
    narrow.w = 40, narrow.rowBytes = 30;
    expect_refused(pict2(pixmap_op(0x98, narrow, Bytes(80))), "Illegal or unsupported RowBytes value in PICT file");
    Map wide = m;
    wide.w = 16;
    expect_refused(pict2(pixmap_op(0x98, wide, {2, 0xF0, 1, 0, 0, 0})), "Error decompressing row, cannot load");  // 17 for 16
    expect_refused(pict2(pixmap_op(0x98, wide, {2, 0xF2, 1, 0, 0, 0})), "Error decompressing row, cannot load");  // 15 for 16
    expect_refused(pict2(concat({{0x00, 0x12, 0x00, 0x03}, Bytes(8, 0), good})), "Unsupported PICT Pattern");
    expect_refused(pict1({0xC0}), "Illegal or unsupported opcode in PICT file");
    expect_refused(pict2(concat({{0x00, 0x01, 0x00, 0x01}, good})), "Illegal or unsupported opcode in PICT file");
    Bytes cut = pict2(good);
    cut.resize(cut.size() - 6);
    expect_refused(cut, "Unexpected end-of-file, cannot load PICT file");
    expect_refused(pict2(concat({{0x00, 0xA1, 0, 1, 0x7F, 0xFF}})), "Unexpected end-of-file, cannot load PICT file");
    Map zero = m;
    zero.w = 0;
    expect_refused(pict2(pixmap_op(0x98, zero, Bytes(8))), "Illegal PCT File -- Bad Header");
}

TEST_F(PictTest, TruncationAnywhereAndGiantBoundsFailWithOneMessage) {
    Map m;
    m.w = 30, m.h = 3, m.pixelSize = 8;
    for (int i = 0; i < 30; i++) m.table.push_back({i, i, 2 * i, 3 * i});
    Bytes rows;
    for (int y = 0; y < 3; y++) {
        rows.insert(rows.end(), {31, 29});
        for (int x = 0; x < 30; x++) rows.push_back((BYTE)((x + y) % 30));
    }
    Bytes whole = pict2(pixmap_op(0x98, m, rows));
    ASSERT_EQ(decode_pixels(whole).width, 30);
    for (size_t n = 0; n + 2 < whole.size(); n++) {
        boxes().clear();
        HGLOBAL dib = decode(Bytes(whole.begin(), whole.begin() + n));
        EXPECT_EQ(dib, nullptr) << n;
        if (dib) GlobalFree(dib);
        EXPECT_EQ(boxes().size(), 1u) << n;
    }
    // The largest bounds rowBytes can describe, claimed by a few bytes:
    // refused before the image is allocated.
    Map huge = m;
    huge.w = 16000, huge.h = 32000;
    expect_refused(pict2(pixmap_op(0x98, huge, Bytes(100))), "Unexpected end-of-file, cannot load PICT file");
    Map direct;
    direct.w = 4000, direct.h = 32000, direct.pixelSize = 32, direct.packType = 4, direct.cmpCount = 3;
    expect_refused(pict2(pixmap_op(0x9A, direct, Bytes(100))), "Unexpected end-of-file, cannot load PICT file");
}

TEST_F(PictTest, AFileThatCannotBeOpenedIsReported) {
    HGLOBAL dib = load_as("PCT", "/nonexistent/x.pct");
    EXPECT_EQ(dib, nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error opening input file, cannot load");
}

}  // namespace
