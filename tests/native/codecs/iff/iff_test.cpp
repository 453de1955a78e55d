#include <dirent.h>

#include "codec_images.h"
#include "codecs/iff/iff.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/iff/";

struct IffTest : CodecFixture {
    IffTest() : CodecFixture("IFF", IffDecode) {}
};

void put32(Bytes &b, unsigned v) { b.insert(b.end(), {(BYTE)(v >> 24), (BYTE)(v >> 16), (BYTE)(v >> 8), (BYTE)v}); }
void put16(Bytes &b, unsigned v) { b.insert(b.end(), {(BYTE)(v >> 8), (BYTE)v}); }

void chunk(Bytes &b, const char *id, const Bytes &data) {
    b.insert(b.end(), id, id + 4);
    put32(b, (unsigned)data.size());
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1) b.push_back(0);
}

Bytes bmhd(int w, int h, int planes, int masking = 0, int compression = 0) {
    Bytes b;
    put16(b, w);
    put16(b, h);
    put32(b, 0);
    b.insert(b.end(), {(BYTE)planes, (BYTE)masking, (BYTE)compression, 0});
    put16(b, 0);
    b.insert(b.end(), {10, 11});
    put16(b, w);
    put16(b, h);
    return b;
}

/* Plane rows of each row, top row first, from pixel values; with
   compression each plane row is one literal packet (or runs of 128). */
Bytes body_of(const std::vector<unsigned> &values, int w, int h, int planes, bool compress, bool maskPlane = false) {
    size_t rb = (w + 15) / 16 * 2;
    Bytes out;
    for (int y = 0; y < h; y++) {
        for (int p = 0; p < planes + (maskPlane ? 1 : 0); p++) {
            Bytes row(rb, 0);
            for (int x = 0; x < w; x++) {
                unsigned bit = p < planes ? (values[y * w + x] >> p) & 1 : 1;
                if (bit) row[x / 8] |= (BYTE)(0x80 >> (x % 8));
            }
            if (compress) {
                for (size_t at = 0; at < rb; at += 128) {
                    size_t n = std::min<size_t>(128, rb - at);
                    out.push_back((BYTE)(n - 1));
                    out.insert(out.end(), row.begin() + at, row.begin() + at + n);
                }
            } else {
                out.insert(out.end(), row.begin(), row.end());
            }
        }
    }
    return out;
}

Bytes form(const char *type, const Bytes &chunks) {
    Bytes f = {'F', 'O', 'R', 'M'};
    put32(f, (unsigned)(chunks.size() + 4));
    f.insert(f.end(), type, type + 4);
    f.insert(f.end(), chunks.begin(), chunks.end());
    return f;
}

Bytes cmap_of(int n, int step = 7) {
    Bytes c;
    for (int i = 0; i < n; i++) c.insert(c.end(), {(BYTE)(i * step), (BYTE)(255 - i * step), (BYTE)(i * 3 + 40)});
    return c;
}

/* A PNM as raw values with its maxval. */
bool read_raw_pnm(const std::string &text, int *w, int *h, int *maxval, std::vector<int> *values) {
    if (text.size() < 2 || text[0] != 'P' || text[1] != '6') return false;
    size_t pos = 2;
    int fields[3];
    for (int &f : fields) {
        while (pos < text.size() && isspace((unsigned char)text[pos])) pos++;
        f = atoi(text.c_str() + pos);
        while (pos < text.size() && isdigit((unsigned char)text[pos])) pos++;
    }
    pos++;
    *w = fields[0];
    *h = fields[1];
    *maxval = fields[2];
    size_t n = (size_t)*w * *h * 3;
    if (*maxval > 255 || text.size() < pos + n) return false;
    values->clear();
    for (size_t i = 0; i < n; i++) values->push_back((unsigned char)text[pos + i]);
    return true;
}

/* What our reader makes of a component the other decoder reports: 4-bit
   hold-and-modify data is scaled by 16 (ilbmtoppm puts the 4 bits on top
   and fills below them); 6-bit data by repeating its top bits; other
   maxvals by v * 255 / maxval. */
int ours_from_theirs(int v, int maxval, const std::string &name) {
    if (name.find("ham6") != std::string::npos) return v / 16 * 16;
    if (name.find("ham8") != std::string::npos) {
        int six = v >> 2; /* map colours and data alike keep their top 6 bits */
        return (six << 2) | (six >> 4);
    }
    return v * 255 / maxval;
}

TEST_F(IffTest, FixturesFromPpmtoilbmLoadToIlbmtoppmsPixels) {
    DIR *d = opendir(kFixtures.c_str());
    ASSERT_NE(d, nullptr);
    int checked = 0;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".iff") continue;
        SCOPED_TRACE(name);
        std::string stem = name.substr(0, name.size() - 4);
        int w, h, maxval;
        std::vector<int> theirs;
        ASSERT_TRUE(read_raw_pnm(read_file(kFixtures + stem + ".pnm"), &w, &h, &maxval, &theirs));
        for (const char *ext : {"IFF", "LBM"}) {
            HGLOBAL dib = load_as(ext, kFixtures + name);
            ASSERT_NE(dib, nullptr) << last_box_text();
            Pixels p = pixels_of(dib);
            GlobalFree(dib);
            EXPECT_EQ(p.width, w);
            EXPECT_EQ(p.height, h);
            ASSERT_EQ(p.rgb.size(), theirs.size());
            int mismatches = 0;
            for (size_t i = 0; i < theirs.size(); i++)
                if (p.rgb[i] != ours_from_theirs(theirs[i], maxval, name)) mismatches++;
            EXPECT_EQ(mismatches, 0);
            bool mapped = name.find("plane") != std::string::npos || name.find("mask") != std::string::npos ||
                          name.find("ehb") != std::string::npos;
            EXPECT_EQ(p.bpp, mapped ? 8 : 24);
        }
        checked++;
    }
    closedir(d);
    EXPECT_GE(checked, 14);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(IffTest, FivePlanesWithA32EntryMapLoadAs32Colours) {
    std::vector<unsigned> v;
    for (int i = 0; i < 40 * 3; i++) v.push_back((unsigned)(i * 7) % 32);
    Bytes c;
    chunk(c, "BMHD", bmhd(40, 3, 5));
    chunk(c, "CMAP", cmap_of(32));
    chunk(c, "BODY", body_of(v, 40, 3, 5, false));
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    EXPECT_EQ(p.bpp, 8);
    ASSERT_EQ(p.table.size(), 32u);
    EXPECT_EQ(std::vector<unsigned>(p.index.begin(), p.index.end()), v);
    EXPECT_EQ(p.table[31].rgbRed, 31 * 7);
    EXPECT_EQ(loadinfo_number(LI_COLORS), 32u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);
    EXPECT_EQ(loadinfo_number(LI_VERSION), 1u);
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "Amiga");
}

TEST_F(IffTest, ExtraHalfBriteDoublesTheMapAtHalfIntensity) {
    std::vector<unsigned> v = {0, 31, 32, 63, 40, 5};
    Bytes camg;
    put32(camg, 0x80);
    Bytes c;
    chunk(c, "BMHD", bmhd(6, 1, 6, 0, 1));
    chunk(c, "CAMG", camg);
    chunk(c, "CMAP", cmap_of(32));
    chunk(c, "BODY", body_of(v, 6, 1, 6, true));
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    ASSERT_EQ(p.table.size(), 64u);
    for (int i = 0; i < 32; i++) {
        EXPECT_EQ(p.table[32 + i].rgbRed, p.table[i].rgbRed >> 1);
        EXPECT_EQ(p.table[32 + i].rgbGreen, p.table[i].rgbGreen >> 1);
        EXPECT_EQ(p.table[32 + i].rgbBlue, p.table[i].rgbBlue >> 1);
    }
    EXPECT_EQ(p.index, (Bytes{0, 31, 32, 63, 40, 5}));
}

TEST_F(IffTest, HoldAndModifyBuildsTrueColourFromTheRowStart) {
    // HAM6: control in bits 4-5. Pixel 0 modifies red from black; pixel 1
    // takes map entry 2; 2 modifies blue, 3 green; the second row starts
    // from black again.
    std::vector<unsigned> v = {0x20 | 15, 2, 0x10 | 9, 0x30 | 1, 0x30 | 4, 0, 0, 0};
    Bytes camg;
    put32(camg, 0x800);
    Bytes c;
    chunk(c, "BMHD", bmhd(4, 2, 6));
    chunk(c, "CAMG", camg);
    chunk(c, "CMAP", {0, 0, 0, 16, 16, 16, 0xF0, 0x80, 0x3F});
    chunk(c, "BODY", body_of(v, 4, 2, 6, false));
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    EXPECT_EQ(p.bpp, 24);
    Bytes expected = {240, 0, 0, 240, 128, 48, 240, 128, 144, 240, 16, 144,
                      0, 64, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(p.rgb, expected);
    // HAM8: six data bits, 63 reaches 255.
    std::vector<unsigned> v8 = {0x80 | 63, 0x40 | 32};
    Bytes c8;
    chunk(c8, "BMHD", bmhd(2, 1, 8));
    chunk(c8, "CAMG", camg);
    chunk(c8, "BODY", body_of(v8, 2, 1, 8, false));
    ASSERT_TRUE(decode_pixels(form("ILBM", c8), &p));
    EXPECT_EQ(p.rgb, (Bytes{255, 0, 0, 255, 0, 130}));
}

TEST_F(IffTest, ByteRunControl128AndMaskPlanesAreSkipped) {
    // Each plane row of a 16-pixel row is 2 bytes: 0x80 (no-op), then a run
    // of two 0xFF bytes; the mask plane is a literal that must not count.
    Bytes bodyData;
    for (int p = 0; p < 2; p++) bodyData.insert(bodyData.end(), {0x80, 0xFF, 0xFF});
    bodyData.insert(bodyData.end(), {0x01, 0x00, 0x00});
    Bytes c;
    chunk(c, "BMHD", bmhd(16, 1, 2, 1, 1));
    chunk(c, "CMAP", cmap_of(4, 50));
    chunk(c, "BODY", bodyData);
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    EXPECT_EQ(p.index, Bytes(16, 3));
}

TEST_F(IffTest, ImagesWithoutAMapAreGrayLevels) {
    std::vector<unsigned> v = {0, 1, 2, 3};
    Bytes c;
    chunk(c, "BMHD", bmhd(4, 1, 2));
    chunk(c, "BODY", body_of(v, 4, 1, 2, false));
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    EXPECT_EQ(p.bpp, 24);
    EXPECT_EQ(p.rgb, (Bytes{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
}

TEST_F(IffTest, IndicesPastAShortMapStayInsideTheTable) {
    std::vector<unsigned> v = {0, 7};
    Bytes c;
    chunk(c, "BMHD", bmhd(2, 1, 3));
    chunk(c, "CMAP", cmap_of(2));
    chunk(c, "BODY", body_of(v, 2, 1, 3, false));
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    EXPECT_EQ(p.table.size(), 8u);
    EXPECT_EQ(p.rgb, (Bytes{0, 255, 40, 0, 0, 0}));
}

TEST_F(IffTest, AContiguousPlaneChunkReadsPlaneByPlane) {
    // ABIT: each plane whole, rows top first.
    int w = 3, h = 2;
    std::vector<unsigned> v = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0x010203};
    Bytes abit;
    for (int p = 0; p < 24; p++)
        for (int y = 0; y < h; y++) {
            Bytes row(2, 0);
            for (int x = 0; x < w; x++)
                if ((v[y * w + x] >> p) & 1) row[x / 8] |= (BYTE)(0x80 >> (x % 8));
            abit.insert(abit.end(), row.begin(), row.end());
        }
    Bytes c;
    chunk(c, "BMHD", bmhd(w, h, 24));
    chunk(c, "ABIT", abit);
    Pixels p;
    ASSERT_TRUE(decode_pixels(form("ILBM", c), &p));
    Bytes expected;
    for (unsigned px : v) expected.insert(expected.end(), {(BYTE)px, (BYTE)(px >> 8), (BYTE)(px >> 16)});
    EXPECT_EQ(p.rgb, expected);
}

TEST_F(IffTest, RefusalsNameTheEntryInUse) {
    Bytes good;
    chunk(good, "BMHD", bmhd(16, 2, 1, 0, 1));
    chunk(good, "BODY", body_of({0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 16, 2, 1, true));
    HGLOBAL dib = decode(form("ILBM", good));
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    expect_refused(form("PBM ", good), "Unknown IFF sub-format, cannot read");
    expect_refused(form("ACBM", good), "ACBM/ABIT IFF format files not supported");
    Bytes notForm = form("ILBM", good);
    notForm[0] = 'L';
    expect_refused(notForm, "Unknown IFF format, cannot read");
    Bytes noBody;
    chunk(noBody, "BMHD", bmhd(16, 2, 1));
    chunk(noBody, "TEXT", {'h', 'i'});
    expect_refused(form("ILBM", noBody), "Cannot find image tag in IFF file, cannot load");
    Bytes method;
    chunk(method, "BMHD", bmhd(16, 2, 1, 0, 2));
    chunk(method, "BODY", Bytes(8));
    expect_refused(form("ILBM", method), "Unknown IFF compression method");
    Bytes overrun;
    chunk(overrun, "BMHD", bmhd(16, 2, 1, 0, 1));
    chunk(overrun, "BODY", {0xFD, 0x11, 0, 0, 0, 0, 0, 0});  // a run of 4 into a 2-byte plane row
    expect_refused(form("ILBM", overrun), "Error decompressing IFF file, cannot load");
    Bytes literal;
    chunk(literal, "BMHD", bmhd(16, 2, 1, 0, 1));
    chunk(literal, "BODY", {0x02, 1, 2, 3, 0, 0, 0, 0});  // a literal of 3 into 2 bytes
    expect_refused(form("ILBM", literal), "Error decompressing IFF file, cannot load");
    Bytes planes;
    chunk(planes, "BMHD", bmhd(16, 2, 12));
    chunk(planes, "BODY", Bytes(200));
    expect_refused(form("ILBM", planes), "Unsupported IFF format");
    Bytes zero;
    chunk(zero, "BMHD", bmhd(0, 2, 1));
    chunk(zero, "BODY", Bytes(8));
    expect_refused(form("ILBM", zero), "Illegal IFF File -- Bad Header");
    catalogue_set_current_load(format_index("LBM"));
    expect_refused(form("PBM ", good), "Unknown LBM sub-format, cannot read");
}

TEST_F(IffTest, TruncatedAndOversizedFilesFailCleanly) {
    std::vector<unsigned> v(37 * 5);
    for (size_t i = 0; i < v.size(); i++) v[i] = (unsigned)(i * 13) % 256;
    for (bool compress : {false, true}) {
        Bytes c;
        chunk(c, "BMHD", bmhd(37, 5, 8, 0, compress));
        chunk(c, "CMAP", cmap_of(256, 1));
        chunk(c, "BODY", body_of(v, 37, 5, 8, compress));
        Bytes whole = form("ILBM", c);
        HGLOBAL dib = decode(whole);
        ASSERT_NE(dib, nullptr);
        GlobalFree(dib);
        size_t bodyStart = whole.size() - body_of(v, 37, 5, 8, compress).size();
        for (size_t n = bodyStart; n < whole.size(); n += 7)
            expect_refused(Bytes(whole.begin(), whole.begin() + n), "Incomplete IFF file, cannot load");
    }
    // 65535 x 65535 deep image claimed by a few bytes.
    Bytes huge;
    chunk(huge, "BMHD", bmhd(65535, 65535, 24, 0, 1));
    chunk(huge, "BODY", Bytes(64));
    expect_refused(form("ILBM", huge), "Not enough memory to load IFF image");
    Bytes big;
    chunk(big, "BMHD", bmhd(4000, 4000, 8, 0, 1));
    chunk(big, "BODY", Bytes(64));
    expect_refused(form("ILBM", big), "Incomplete IFF file, cannot load");
    expect_refused(Bytes{'F', 'O', 'R', 'M', 0, 0}, "Incomplete IFF file, cannot load");
}

TEST_F(IffTest, WriterMakesTheDeepLayoutAndReadsBackEveryDepth) {
    auto pattern = [](int x, int y) { return (unsigned)((x * 0x0B0703 + y * 0x302010) ^ (x > 20 ? 0xFF00FF : 0)); };
    for (int bpp : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bpp);
        int w = 37, h = 9;
        HGLOBAL src = bpp <= 8 ? make_dib(w, h, bpp, 1 << bpp, [&](int x, int y) { return pattern(x, y) % (1u << bpp); })
                               : make_dib(w, h, bpp, 0, pattern);
        ASSERT_NE(src, nullptr);
        Pixels before = pixels_of(src);
        std::string path = dir + "/rt.iff";
        ASSERT_TRUE(save_as("IFF", path, src, 1, 0, 24)) << last_text();
        EXPECT_EQ(pixels_of(src).rgb, before.rgb);
        GlobalFree(src);
        Bytes f = bytes_of(read_file(path));
        size_t rb = (w + 15) / 16 * 2, body = (size_t)h * 24 * rb;
        ASSERT_EQ(f.size(), 8 + 4 + 28 + 12 + 8 + body);
        EXPECT_EQ(Bytes(f.begin(), f.begin() + 4), bytes_of("FORM"));
        EXPECT_EQ((size_t)(f[4] << 24 | f[5] << 16 | f[6] << 8 | f[7]), f.size() - 8);
        EXPECT_EQ(Bytes(f.begin() + 8, f.begin() + 16), bytes_of("ILBMBMHD"));
        Bytes header(f.begin() + 20, f.begin() + 40);
        EXPECT_EQ(header, (Bytes{0, 37, 0, 9, 0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1}));
        EXPECT_EQ(Bytes(f.begin() + 40, f.begin() + 52), (Bytes{'C', 'A', 'M', 'G', 0, 0, 0, 4, 0, 0, 0, 0}));
        EXPECT_EQ(Bytes(f.begin() + 52, f.begin() + 56), bytes_of("BODY"));
        HGLOBAL back = load_as("IFF", path);
        ASSERT_NE(back, nullptr);
        Pixels after = pixels_of(back);
        GlobalFree(back);
        EXPECT_EQ(after.bpp, 24);
        EXPECT_EQ(after.rgb, before.rgb);
        if (have_program("ilbmtoppm")) {
            int tw, th;
            Bytes theirs;
            ASSERT_TRUE(read_pnm(run_output("ilbmtoppm '" + path + "' 2>/dev/null"), &tw, &th, &theirs));
            EXPECT_EQ(theirs, before.rgb);
        }
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(IffTest, FailedWriteLeavesNoFile) {
    HGLOBAL src = make_dib(3, 3, 24, 0, [](int x, int) { return (unsigned)x; });
    std::string path = dir + "/missing/out.iff";
    EXPECT_FALSE(IffSave(&path[0], src, 1, 0, 24));
    GlobalFree(src);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
    EXPECT_FALSE(file_exists(path));
}

}  // namespace
