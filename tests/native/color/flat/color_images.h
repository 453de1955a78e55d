/* Small DIBs for the colour-reduction tests: built from red, green, blue
   triples row by row in storage order, and read back pixel by pixel. */
#ifndef COLOR_IMAGES_H
#define COLOR_IMAGES_H

#include <gtest/gtest.h>

#include <string.h>

#include <ostream>
#include <vector>

#include "codecs/common/dib_build.h"
#include "platform.h"

struct Rgb {
    int r, g, b;
};

inline bool operator==(const Rgb &a, const Rgb &b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline std::ostream &operator<<(std::ostream &o, const Rgb &c) {
    return o << "(" << c.r << "," << c.g << "," << c.b << ")";
}

/* A 24- or 32-bit DIB; pixels[y * width + x] with y the storage row. */
inline HGLOBAL make_truecolor(int width, int height, const std::vector<Rgb> &pixels, int bits = 24) {
    DibParts d;
    if (!dib_create(width, height, (WORD)bits, 0, &d)) return NULL;
    int step = bits / 8;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            BYTE *p = d.bits + (size_t)y * d.stride + (size_t)x * step;
            const Rgb &c = pixels[(size_t)y * width + x];
            p[0] = (BYTE)c.b, p[1] = (BYTE)c.g, p[2] = (BYTE)c.r;
            if (step == 4) p[3] = 0x5A;
        }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

inline HGLOBAL make_uniform(int width, int height, Rgb c, int bits = 24) {
    return make_truecolor(width, height, std::vector<Rgb>((size_t)width * height, c), bits);
}

/* A palette DIB of 1, 4 or 8 bits; indices[y * width + x]. */
inline HGLOBAL make_indexed(int width, int height, int bits, const std::vector<Rgb> &table,
                            const std::vector<int> &indices) {
    DibParts d;
    if (!dib_create(width, height, (WORD)bits, (DWORD)table.size(), &d)) return NULL;
    for (size_t i = 0; i < table.size(); i++) {
        d.colors[i].rgbRed = (BYTE)table[i].r;
        d.colors[i].rgbGreen = (BYTE)table[i].g;
        d.colors[i].rgbBlue = (BYTE)table[i].b;
    }
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            BYTE *row = d.bits + (size_t)y * d.stride;
            int v = indices[(size_t)y * width + x];
            if (bits == 8)
                row[x] = (BYTE)v;
            else if (bits == 4)
                row[x >> 1] |= (BYTE)(v << ((x & 1) ? 0 : 4));
            else
                row[x >> 3] |= (BYTE)(v << (7 - (x & 7)));
        }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

/* What a reduction produced. */
struct Image {
    int width = 0, height = 0, bits = 0;
    DWORD clrUsed = 0;
    std::vector<RGBQUAD> table;
    std::vector<int> index;  /* palette images */
    std::vector<Rgb> pixels; /* 24-bit images */
    int at(int x, int y) const { return index[(size_t)y * width + x]; }
    Rgb rgb(int x, int y) const { return pixels[(size_t)y * width + x]; }
    Rgb entry(int i) const { return {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue}; }
};

inline Image read_image(HGLOBAL h) {
    Image im;
    DibParts d;
    if (!h || !dib_open(h, &d)) {
        ADD_FAILURE() << "not a readable DIB";
        return im;
    }
    im.width = d.width, im.height = d.height, im.bits = d.bpp;
    im.clrUsed = d.header->biClrUsed;
    if (d.colors && d.bpp <= 8) im.table.assign(d.colors, d.colors + im.clrUsed);
    for (int y = 0; y < d.height; y++) {
        const BYTE *row = d.bits + (size_t)y * d.stride;
        for (int x = 0; x < d.width; x++) {
            if (d.bpp == 8)
                im.index.push_back(row[x]);
            else if (d.bpp == 4)
                im.index.push_back((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
            else if (d.bpp == 1)
                im.index.push_back((row[x >> 3] >> (7 - (x & 7))) & 1);
            else
                im.pixels.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        }
    }
    dib_close(&d);
    return im;
}

#endif
