#include "bmp_test_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/dib_build.h"

void put16(Bytes &b, unsigned v) {
    b.push_back((BYTE)v);
    b.push_back((BYTE)(v >> 8));
}

void put32(Bytes &b, uint32_t v) {
    for (int i = 0; i < 4; i++) b.push_back((BYTE)(v >> (8 * i)));
}

Bytes info_header(int32_t width, int32_t height, unsigned bits, uint32_t compression, uint32_t sizeImage,
                  uint32_t colors) {
    Bytes b;
    put32(b, 40);
    put32(b, (uint32_t)width);
    put32(b, (uint32_t)height);
    put16(b, 1);
    put16(b, bits);
    put32(b, compression);
    put32(b, sizeImage);
    put32(b, 0);
    put32(b, 0);
    put32(b, colors);
    put32(b, colors);
    return b;
}

Bytes bmp_file(const Bytes &info, const Bytes &table, const Bytes &pixels) {
    Bytes b = {'B', 'M'};
    uint32_t offset = 14 + (uint32_t)(info.size() + table.size());
    put32(b, offset + (uint32_t)pixels.size());
    put32(b, 0);
    put32(b, offset);
    b.insert(b.end(), info.begin(), info.end());
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes gray_table(unsigned entries) {
    Bytes t;
    for (unsigned i = 0; i < entries; i++) {
        BYTE g = (BYTE)(entries > 1 ? i * 255 / (entries - 1) : 0);
        t.insert(t.end(), {g, g, g, 0});
    }
    return t;
}

std::string bytes_to_string(const Bytes &b) { return std::string(b.begin(), b.end()); }

Bytes file_bytes(const std::string &path) {
    std::string s = read_file(path);
    return Bytes(s.begin(), s.end());
}

int format_index(const char *extension) {
    char ext[16];
    for (int i = 0; i < catalogue_count(); i++)
        if (catalogue_extension(i, ext, sizeof ext) && strcmp(ext, extension) == 0) return i;
    return -1;
}

HGLOBAL load_as(const char *extension, const std::string &path) {
    catalogue_set_current_load(format_index(extension));
    std::vector<char> p(path.begin(), path.end());
    p.push_back('\0');
    HGLOBAL dib = NULL;
    return LoadFile(p.data(), &dib) ? dib : NULL;
}

int save_as(const char *extension, const std::string &path, HGLOBAL dib, int compressed, int bpp) {
    catalogue_set_current_save(format_index(extension));
    std::vector<char> p(path.begin(), path.end());
    p.push_back('\0');
    return SaveFile(p.data(), dib, 1, (WORD)compressed, (WORD)bpp);
}

HGLOBAL test_dib(LONG width, LONG height, WORD bits, unsigned seed) {
    DWORD colors = bits <= 8 ? 1u << bits : 0;
    DibParts d;
    if (!dib_create(width, height, bits, colors, &d)) return NULL;
    srand(seed);
    for (DWORD i = 0; i < colors; i++) d.colors[i] = {(BYTE)rand(), (BYTE)rand(), (BYTE)rand(), 0};
    for (LONG y = 0; y < height; y++) {
        BYTE *row = d.bits + (size_t)y * d.stride;
        size_t used = ((size_t)width * bits + 7) / 8;
        for (size_t x = 0; x < used;) {
            BYTE v = (BYTE)rand();
            size_t run = rand() % 2 ? 1 + rand() % 9 : 1;
            for (size_t k = 0; k < run && x < used; k++) row[x++] = v;
        }
        // Bits past the width in the last byte stay clear, as decoders give them.
        if ((width * bits) % 8) row[used - 1] &= (BYTE)(0xFF << (8 - (width * bits) % 8));
        if (bits == 32)
            for (LONG x = 0; x < width; x++) row[x * 4 + 3] = 255;  // opaque: peers drop alpha
    }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

BITMAPINFOHEADER header_of_dib(HGLOBAL dib) {
    BITMAPINFOHEADER h;
    memcpy(&h, GlobalLock(dib), sizeof h);
    GlobalUnlock(dib);
    return h;
}

Rgb rgb_of(HGLOBAL dib) {
    Rgb out;
    DibParts d;
    if (!dib_open(dib, &d)) return out;
    out.width = d.width;
    out.height = d.height;
    for (LONG y = 0; y < d.height; y++) {
        const BYTE *row = dib_row_from_top(&d, y);
        for (LONG x = 0; x < d.width; x++) {
            BYTE r, g, b;
            if (d.bpp >= 24) {
                size_t k = (size_t)x * (d.bpp / 8);
                b = row[k], g = row[k + 1], r = row[k + 2];
            } else if (d.bpp == 16) {
                WORD v = (WORD)(row[x * 2] | row[x * 2 + 1] << 8);  // 5-5-5
                r = (BYTE)(((v >> 10) & 31) * 255 / 31), g = (BYTE)(((v >> 5) & 31) * 255 / 31),
                b = (BYTE)((v & 31) * 255 / 31);
            } else {
                unsigned i = d.bpp == 8   ? row[x]
                             : d.bpp == 4 ? (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4)
                                          : (row[x / 8] >> (7 - x % 8)) & 1;
                RGBQUAD q = d.colors[i];
                r = q.rgbRed, g = q.rgbGreen, b = q.rgbBlue;
            }
            out.pixels.insert(out.pixels.end(), {r, g, b});
        }
    }
    dib_close(&d);
    return out;
}

// Binary PPM with maxval 255 (what the fixture script and the peers give).
Rgb read_ppm(const std::string &path) {
    Rgb out;
    std::string s = read_file(path);
    int w, h, maxval, used = 0;
    if (sscanf(s.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &used) != 3 || maxval != 255) return out;
    size_t start = (size_t)used + 1;
    if (s.size() < start + (size_t)w * h * 3) return out;
    out.width = w;
    out.height = h;
    out.pixels.assign(s.begin() + start, s.begin() + start + (size_t)w * h * 3);
    return out;
}

int run(const std::string &command) { return system(command.c_str()); }

bool have_program(const char *name) { return run(std::string("command -v ") + name + " >/dev/null 2>&1") == 0; }
