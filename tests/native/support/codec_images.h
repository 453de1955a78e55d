/* Picture helpers of the codec tests: DIBs built from a pattern, any DIB
   read back as top-down RGB (and indices), PNM files from the fixtures and
   from the peer programs, and loads and saves through the catalogue entry
   of an extension. */
#ifndef CODEC_IMAGES_H
#define CODEC_IMAGES_H

#include <ctype.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "codecs/common/byte_source.h"
#include "codecs/common/dib_build.h"
#include "codecs/registry.h"
#include "engine_test_support.h"

typedef std::vector<unsigned char> Bytes;

inline std::string fixture_path(const std::string &family, const std::string &name) {
    return std::string(LC_SOURCE_DIR) + "/tests/fixtures/" + family + "/" + name;
}

/* ---- building ------------------------------------------------------------ */

/* A DIB whose pixel (x, y from the top) is value(x, y): a palette index,
   or 0xRRGGBB from 24 bits up (32 bits get alpha 0x80); the table holds
   `colors` entries of color(i), 0xRRGGBB. */
template <class F, class C, class = decltype(std::declval<C>()(0u))>
inline HGLOBAL make_dib(int w, int h, int bpp, int colors, F value, C color) {
    DibParts d;
    if (!dib_create(w, h, (WORD)bpp, (DWORD)colors, &d)) return NULL;
    for (int i = 0; i < colors; i++) {
        uint32_t c = color((unsigned)i);
        d.colors[i] = RGBQUAD{(BYTE)c, (BYTE)(c >> 8), (BYTE)(c >> 16), 0};
    }
    for (int y = 0; y < h; y++) {
        BYTE *row = dib_row_from_top(&d, y);
        for (int x = 0; x < w; x++) {
            unsigned v = value(x, y);
            switch (bpp) {
                case 1: row[x / 8] |= (BYTE)((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= (BYTE)((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = (BYTE)v; break;
                case 16:
                    row[x * 2] = (BYTE)v;
                    row[x * 2 + 1] = (BYTE)(v >> 8);
                    break;
                default:
                    row[x * (bpp / 8)] = (BYTE)v;
                    row[x * (bpp / 8) + 1] = (BYTE)(v >> 8);
                    row[x * (bpp / 8) + 2] = (BYTE)(v >> 16);
                    if (bpp == 32) row[x * 4 + 3] = 0x80;
            }
        }
    }
    HGLOBAL handle = d.handle;
    dib_close(&d);
    return handle;
}

/* The same with a fixed spread of table colors, or a gray ramp. */
template <class F>
inline HGLOBAL make_dib(int w, int h, int bpp, int colors, F value, bool grayTable = false) {
    return make_dib(w, h, bpp, colors, value, [&](unsigned i) -> uint32_t {
        if (grayTable) return 0x010101u * (i * 255 / (colors > 1 ? colors - 1 : 1));
        return (uint32_t)(BYTE)(i * 37 + 11) << 16 | (uint32_t)(BYTE)(i * 91 + 5) << 8 | (BYTE)(250 - i * 13);
    });
}

/* A deterministic scramble for pixel values that compress badly. */
inline unsigned noise(int x, int y) {
    uint32_t v = (uint32_t)x * 2654435761u ^ (uint32_t)y * 40503u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return v ^ (v >> 15);
}

/* ---- reading back ---------------------------------------------------------- */

/* The value of pixel x of a 1-, 4- or 8-bit row. */
inline unsigned index_at(const BYTE *row, int x, int bpp) {
    if (bpp == 8) return row[x];
    if (bpp == 4) return x & 1 ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

struct Pixels {
    int width = 0, height = 0, bpp = 0;
    Bytes rgb;   /* top-down, 3 bytes a pixel */
    Bytes index; /* palette images: top-down indices */
    Bytes alpha; /* 32 bits */
    std::vector<RGBQUAD> table;
};

inline Pixels pixels_of(HGLOBAL dib) {
    Pixels p;
    DibParts d;
    if (!dib_open(dib, &d)) return p;
    p.width = d.width;
    p.height = d.height;
    p.bpp = d.bpp;
    if (d.colors) p.table.assign(d.colors, d.colors + ZYN_DIB_NumColors(d.header));
    for (int y = 0; y < d.height; y++) {
        const BYTE *row = dib_row_from_top(&d, y);
        for (int x = 0; x < d.width; x++) {
            if (d.bpp <= 8) {
                unsigned i = index_at(row, x, d.bpp);
                p.index.push_back((unsigned char)i);
                RGBQUAD q = i < p.table.size() ? p.table[i] : RGBQUAD{0, 0, 0, 0};
                p.rgb.insert(p.rgb.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
            } else {
                const BYTE *px = row + x * (d.bpp / 8);
                p.rgb.insert(p.rgb.end(), {px[2], px[1], px[0]});
                if (d.bpp == 32) p.alpha.push_back(px[3]);
            }
        }
    }
    dib_close(&d);
    return p;
}

inline bool same_table(const std::vector<RGBQUAD> &a, const std::vector<RGBQUAD> &b, size_t n) {
    if (a.size() < n || b.size() < n) return false;
    for (size_t i = 0; i < n; i++)
        if (a[i].rgbRed != b[i].rgbRed || a[i].rgbGreen != b[i].rgbGreen || a[i].rgbBlue != b[i].rgbBlue)
            return false;
    return true;
}

/* Top-down RGB and size only, comparable with a PNM from a peer. */
struct Picture {
    int width = 0, height = 0;
    Bytes rgb;
    bool operator==(const Picture &o) const { return width == o.width && height == o.height && rgb == o.rgb; }
};

inline Picture dib_picture(HGLOBAL dib) {
    Pixels p = pixels_of(dib);
    Picture q;
    q.width = p.width;
    q.height = p.height;
    q.rgb = std::move(p.rgb);
    return q;
}

/* Indices (or 0xRRGGBB at 24 bits) of every pixel, and the table as
   0xRRGGBB. */
struct RawDib {
    int width = 0, height = 0, bpp = 0;
    std::vector<unsigned> pixels;
    std::vector<uint32_t> table;
};

inline RawDib dib_raw(HGLOBAL dib) {
    Pixels p = pixels_of(dib);
    RawDib r;
    r.width = p.width;
    r.height = p.height;
    r.bpp = p.bpp;
    for (const RGBQUAD &q : p.table) r.table.push_back((uint32_t)q.rgbRed << 16 | q.rgbGreen << 8 | q.rgbBlue);
    if (p.bpp <= 8)
        r.pixels.assign(p.index.begin(), p.index.end());
    else
        for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
            r.pixels.push_back((unsigned)p.rgb[i] << 16 | p.rgb[i + 1] << 8 | p.rgb[i + 2]);
    return r;
}

/* ---- PNM files --------------------------------------------------------------- */

/* A binary PNM (P5 or P6) as top-down RGB, scaled to 0..255 the way the
   readers scale 5-bit values (times 8) when maxval is 31. */
inline bool read_pnm(const std::string &text, int *w, int *h, Bytes *rgb) {
    size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '#') {
                while (pos < text.size() && text[pos] != '\n') pos++;
            } else if (isspace((unsigned char)c)) {
                if (!t.empty()) break;
                pos++;
            } else {
                t += c;
                pos++;
            }
        }
        return t;
    };
    std::string magic = token();
    if (magic != "P6" && magic != "P5") return false;
    *w = atoi(token().c_str());
    *h = atoi(token().c_str());
    int maxval = atoi(token().c_str());
    pos++;
    if (*w <= 0 || *h <= 0 || maxval <= 0) return false;
    size_t channels = magic == "P6" ? 3 : 1;
    size_t n = (size_t)*w * *h * channels;
    if (text.size() < pos + n) return false;
    rgb->clear();
    for (size_t i = 0; i < n; i++) {
        int v = (unsigned char)text[pos + i];
        v = maxval == 31 ? v * 8 : v * 255 / maxval;
        for (size_t k = 0; k < 4 - channels; k++) rgb->push_back((unsigned char)v);
    }
    return true;
}

/* The same as a Picture; width 0 when the text is not a PNM. */
inline Picture parse_ppm(const std::string &text) {
    Picture p;
    if (!read_pnm(text, &p.width, &p.height, &p.rgb)) p = Picture();
    return p;
}

/* ---- the catalogue ------------------------------------------------------------ */

inline int format_index(const char *ext) {
    char buf[16];
    for (int i = 0; i < catalogue_count(); i++)
        if (catalogue_extension(i, buf, sizeof buf) && strcmp(buf, ext) == 0) return i;
    return -1;
}

/* Saves through the pipeline (temporary file, then moved over the path). */
inline int save_as(const char *ext, const std::string &path, HGLOBAL dib, int color, int compressed, int bpp) {
    catalogue_set_current_save(format_index(ext));
    std::string p = path;
    return SaveFile(&p[0], dib, (WORD)color, (WORD)compressed, (WORD)bpp);
}

inline HGLOBAL load_as(const char *ext, const std::string &path) {
    catalogue_set_current_load(format_index(ext));
    std::string p = path;
    HGLOBAL dib = NULL;
    return LoadFile(&p[0], &dib) ? dib : NULL;
}

/* Saves dib in color, uncompressed, loads it back, and expects the same
   depth, pixels and color table. */
inline void expect_round_trip(const char *ext, const std::string &path, HGLOBAL dib, int bpp,
                              const char *(*why)(void)) {
    ASSERT_TRUE(save_as(ext, path, dib, 1, 0, bpp)) << why();
    HGLOBAL back = load_as(ext, path);
    ASSERT_NE(back, nullptr) << why();
    RawDib a = dib_raw(dib), b = dib_raw(back);
    EXPECT_EQ(b.bpp, bpp);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.table, b.table);
    GlobalFree(back);
}

/* ---- a codec's test fixture ------------------------------------------------------ */

/* A scratch directory, the format of one extension current for loads and
   saves, and its memory decoder driven directly:
     struct TgaTest : CodecFixture { TgaTest() : CodecFixture("TGA", TgaDecode) {} }; */
struct CodecFixture : ScratchTest {
    const char *extension;
    CodecDecodeProc decodeProc;
    CodecFixture(const char *ext, CodecDecodeProc decoder) : extension(ext), decodeProc(decoder) {}
    void SetUp() override {
        ScratchTest::SetUp();
        catalogue_set_current_load(format_index(extension));
        catalogue_set_current_save(format_index(extension));
    }
    HGLOBAL decode(const Bytes &file) {
        HGLOBAL dib = (HGLOBAL)1;
        int ok = decodeProc(file.data(), file.size(), &dib);
        EXPECT_EQ(ok != 0, dib != NULL);
        return dib;
    }
    /* Decodes file into *out; false (the image freed) when it did not. */
    bool decode_pixels(const Bytes &file, Pixels *out) {
        HGLOBAL dib = decode(file);
        if (!dib) return false;
        *out = pixels_of(dib);
        GlobalFree(dib);
        return true;
    }
    /* Decodes data that must fail with exactly this message. */
    void expect_refused(const Bytes &file, const std::string &message) {
        boxes().clear();
        HGLOBAL dib = decode(file);
        EXPECT_EQ(dib, nullptr);
        if (dib) GlobalFree(dib);
        ASSERT_EQ(boxes().size(), 1u) << message;
        EXPECT_EQ(boxes()[0].text, message);
    }
};

/* ---- files and programs ----------------------------------------------------------- */

inline Bytes bytes_of(const std::string &s) { return Bytes(s.begin(), s.end()); }

inline bool file_exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

inline bool have_program(const char *name) {
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return system(cmd.c_str()) == 0;
}

/* Runs a shell command and returns what it printed on standard output. */
inline std::string run_output(const std::string &cmd) {
    std::string out;
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

#endif
