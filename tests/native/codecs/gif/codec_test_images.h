/* Test helpers shared by the GIF and PCX codec tests: DIBs made and read
   as plain RGB pictures, PPM files from the fixtures and from the peer
   decoders, and loads and saves through the pipeline by extension. */
#ifndef CODEC_TEST_IMAGES_H
#define CODEC_TEST_IMAGES_H

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "codecs/common/dib_build.h"
#include "engine_test_support.h"

/* Top row first, three bytes (red, green, blue) per pixel. */
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool operator==(const Picture &o) const { return width == o.width && height == o.height && rgb == o.rgb; }
};

inline std::string fixture_path(const std::string &family, const std::string &name) {
    return std::string(LC_SOURCE_DIR) + "/tests/fixtures/" + family + "/" + name;
}

/* Binary PPM (P6, maxval 255) from a string; width 0 when it is not one. */
inline Picture parse_ppm(const std::string &data) {
    Picture p;
    int w, h, maxval, used = 0;
    if (sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &used) != 3 || maxval != 255) return p;
    size_t start = (size_t)used + 1, bytes = (size_t)w * h * 3;
    if (data.size() < start + bytes) return p;
    p.width = w;
    p.height = h;
    p.rgb.assign(data.begin() + (long)start, data.begin() + (long)(start + bytes));
    return p;
}

/* What a peer program writes to its standard output, read whole. */
inline std::string run_output(const std::string &command) {
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
    return out;
}

/* The value of pixel x of a 1-, 4- or 8-bit row. */
inline unsigned index_at(const BYTE *row, int x, int bpp) {
    if (bpp == 8) return row[x];
    if (bpp == 4) return x & 1 ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

inline Picture dib_picture(HGLOBAL dib) {
    Picture p;
    DibParts d;
    if (!dib_open(dib, &d)) return p;
    p.width = d.width;
    p.height = d.height;
    unsigned colors = d.colors ? ZYN_DIB_NumColors(d.header) : 0;
    for (LONG y = 0; y < d.height; y++) {
        const BYTE *row = dib_row_from_top(&d, y);
        for (LONG x = 0; x < d.width; x++) {
            if (d.bpp >= 24) {
                const BYTE *px = row + x * (d.bpp / 8);
                p.rgb.insert(p.rgb.end(), {px[2], px[1], px[0]});
            } else {
                unsigned i = index_at(row, (int)x, d.bpp);
                RGBQUAD c = i < colors ? d.colors[i] : RGBQUAD{0, 0, 0, 0};
                p.rgb.insert(p.rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
            }
        }
    }
    dib_close(&d);
    return p;
}

/* Indices (or packed 24-bit bytes) of every pixel and the color table. */
struct RawDib {
    int width = 0, height = 0, bpp = 0;
    std::vector<unsigned> pixels;
    std::vector<uint32_t> table;
};

inline RawDib dib_raw(HGLOBAL dib) {
    RawDib r;
    DibParts d;
    if (!dib_open(dib, &d)) return r;
    r.width = d.width;
    r.height = d.height;
    r.bpp = d.bpp;
    unsigned colors = d.colors ? ZYN_DIB_NumColors(d.header) : 0;
    for (unsigned i = 0; i < colors; i++)
        r.table.push_back((uint32_t)d.colors[i].rgbRed << 16 | d.colors[i].rgbGreen << 8 | d.colors[i].rgbBlue);
    for (LONG y = 0; y < d.height; y++) {
        const BYTE *row = dib_row_from_top(&d, y);
        for (LONG x = 0; x < d.width; x++) {
            if (d.bpp == 24)
                r.pixels.push_back((unsigned)row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16);
            else
                r.pixels.push_back(index_at(row, (int)x, d.bpp));
        }
    }
    dib_close(&d);
    return r;
}

/* A DIB whose pixel (x, y from the top) is value(x, y): an index below 2^bpp,
   or 0xRRGGBB at 24 bits; the table holds `colors` entries from color(i). */
inline HGLOBAL make_dib(int width, int height, int bpp, unsigned colors,
                        const std::function<unsigned(int, int)> &value,
                        const std::function<uint32_t(unsigned)> &color) {
    DibParts d;
    if (!dib_create(width, height, (WORD)bpp, colors, &d)) return NULL;
    for (unsigned i = 0; i < colors; i++) {
        uint32_t c = color(i);
        d.colors[i] = RGBQUAD{(BYTE)c, (BYTE)(c >> 8), (BYTE)(c >> 16), 0};
    }
    for (int y = 0; y < height; y++) {
        BYTE *row = dib_row_from_top(&d, y);
        for (int x = 0; x < width; x++) {
            unsigned v = value(x, y);
            if (bpp == 24) {
                row[3 * x] = (BYTE)v;
                row[3 * x + 1] = (BYTE)(v >> 8);
                row[3 * x + 2] = (BYTE)(v >> 16);
            } else if (bpp == 8) {
                row[x] = (BYTE)v;
            } else if (bpp == 4) {
                row[x >> 1] |= (BYTE)(x & 1 ? v : v << 4);
            } else {
                row[x >> 3] |= (BYTE)(v << (7 - (x & 7)));
            }
        }
    }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

/* A deterministic scramble for pixel values that compress badly. */
inline unsigned noise(int x, int y) {
    uint32_t v = (uint32_t)x * 2654435761u ^ (uint32_t)y * 40503u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return v ^ (v >> 15);
}

inline int format_index(const char *extension) {
    std::string probe = std::string("x.") + extension;
    return detect_format(probe.c_str());
}

/* Loads through the pipeline with the entry of that extension current. */
inline HGLOBAL load_with(const char *extension, const std::string &path) {
    catalogue_set_current_load(format_index(extension));
    std::vector<char> p(path.begin(), path.end());
    p.push_back('\0');
    HGLOBAL dib = NULL;
    return LoadFile(p.data(), &dib) ? dib : NULL;
}

inline int save_with(const char *extension, const std::string &path, HGLOBAL dib, WORD bpp) {
    catalogue_set_current_save(format_index(extension));
    std::vector<char> p(path.begin(), path.end());
    p.push_back('\0');
    return SaveFile(p.data(), dib, 1, 0, bpp);
}

/* Saves dib in that format, loads it back, and expects the same depth,
   pixels and color table. */
inline void expect_round_trip(const char *extension, const std::string &path, HGLOBAL dib, int bpp,
                              const char *(*why)(void)) {
    ASSERT_TRUE(save_with(extension, path, dib, (WORD)bpp)) << why();
    HGLOBAL back = load_with(extension, path);
    ASSERT_NE(back, nullptr) << why();
    RawDib a = dib_raw(dib), b = dib_raw(back);
    EXPECT_EQ(b.bpp, bpp);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.table, b.table);
    GlobalFree(back);
}

#endif
