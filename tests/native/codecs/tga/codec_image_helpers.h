/* Helpers shared by the Targa, HEX/GEN and EPS tests: building DIBs with a
   known pattern, reading any DIB back as top-down RGB, calling a format's
   handlers through the catalogue, reading PNM files and running the
   independent programs the files are checked against. */
#ifndef CODEC_IMAGE_HELPERS_H
#define CODEC_IMAGE_HELPERS_H

#include <stdio.h>
#include <unistd.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "codecs/common/dib_build.h"
#include "codecs/registry.h"
#include "engine_test_support.h"

typedef std::vector<unsigned char> Bytes;

/* A DIB whose pixel (x, y from the top) is value(x, y): a palette index,
   or 0xRRGGBB for 24 and 32 bits (32 bits get alpha 0x80).  Palette images
   get `colors` entries of a fixed spread of colours (gray ramp if gray). */
template <class F>
inline HGLOBAL make_dib(int w, int h, int bpp, int colors, F value, bool grayTable = false) {
    DibParts d;
    if (!dib_create(w, h, (WORD)bpp, (DWORD)colors, &d)) return NULL;
    for (int i = 0; i < colors; i++) {
        int v = grayTable ? i * 255 / (colors > 1 ? colors - 1 : 1) : -1;
        d.colors[i].rgbRed = (BYTE)(v >= 0 ? v : i * 37 + 11);
        d.colors[i].rgbGreen = (BYTE)(v >= 0 ? v : i * 91 + 5);
        d.colors[i].rgbBlue = (BYTE)(v >= 0 ? v : 250 - i * 13);
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

struct Pixels {
    int width = 0, height = 0, bpp = 0;
    Bytes rgb;       /* top-down, 3 bytes a pixel */
    Bytes index;     /* palette images: top-down indices */
    Bytes alpha;     /* 32 bits */
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
                unsigned i = d.bpp == 1 ? (row[x / 8] >> (7 - x % 8)) & 1
                             : d.bpp == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15
                                          : row[x];
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

inline Bytes bytes_of(const std::string &s) { return Bytes(s.begin(), s.end()); }

/* A binary PNM (P5 or P6) as top-down RGB, scaled to 0..255 the way the
   reader scales 5-bit values (times 8) when maxval is 31. */
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
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

#endif
