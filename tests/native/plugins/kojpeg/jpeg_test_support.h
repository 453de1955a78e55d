/* Images, files and measurements shared by the JPEG plug-in and codec
   tests. */
#ifndef JPEG_TEST_SUPPORT_H
#define JPEG_TEST_SUPPORT_H

#include <ctype.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform.h"

typedef std::vector<BYTE> Bytes;

const std::string kJpegFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/jpeg/";

inline Bytes slurp(const std::string &path) {
    Bytes data;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return data;
    BYTE buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
    fclose(f);
    return data;
}

inline void spill(const std::string &path, const Bytes &data) {
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return;
    if (!data.empty()) fwrite(data.data(), 1, data.size(), f);
    fclose(f);
}

/* A binary PPM (P6) or PGM (P5) into top-down samples (3 or 1 a pixel);
   header comments (ImageMagick copies the JPEG comment there) skipped. */
inline bool parse_pnm(const Bytes &file, int *w, int *h, int *channels, Bytes *samples) {
    if (file.size() < 3 || file[0] != 'P' || (file[1] != '5' && file[1] != '6')) return false;
    *channels = file[1] == '6' ? 3 : 1;
    size_t i = 2;
    int numbers[3];
    for (int &n : numbers) {
        while (i < file.size() && (isspace(file[i]) || file[i] == '#')) {
            if (file[i] == '#')
                while (i < file.size() && file[i] != '\n') i++;
            else
                i++;
        }
        n = 0;
        while (i < file.size() && isdigit(file[i])) n = n * 10 + (file[i++] - '0');
    }
    *w = numbers[0];
    *h = numbers[1];
    if (numbers[2] != 255 || i >= file.size()) return false;
    size_t start = i + 1, bytes = (size_t)*w * *h * *channels;
    if (file.size() < start + bytes) return false;
    samples->assign(file.begin() + start, file.begin() + start + bytes);
    return true;
}

/* A DIB's pixels as top-down red, green, blue samples. */
inline Bytes dib_rgb(HGLOBAL dib, int *w, int *h) {
    Bytes out;
    const BITMAPINFOHEADER *bh = (const BITMAPINFOHEADER *)GlobalLock(dib);
    *w = bh->biWidth;
    *h = bh->biHeight;
    const RGBQUAD *table = (const RGBQUAD *)(bh + 1);
    DWORD colors = bh->biBitCount <= 8 ? (bh->biClrUsed ? bh->biClrUsed : 1u << bh->biBitCount) : 0;
    const BYTE *bits = (const BYTE *)(table + colors);
    size_t stride = (((size_t)*w * bh->biBitCount + 31) / 32) * 4;
    for (int y = 0; y < *h; y++) {
        const BYTE *row = bits + (size_t)(*h - 1 - y) * stride;
        for (int x = 0; x < *w; x++) {
            if (bh->biBitCount == 24) {
                out.push_back(row[3 * x + 2]);
                out.push_back(row[3 * x + 1]);
                out.push_back(row[3 * x]);
                continue;
            }
            int index = bh->biBitCount == 8 ? row[x] : (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
            out.push_back(table[index].rgbRed);
            out.push_back(table[index].rgbGreen);
            out.push_back(table[index].rgbBlue);
        }
    }
    GlobalUnlock(dib);
    return out;
}

/* A 24-bit DIB from top-down red, green, blue samples. */
inline HGLOBAL make_dib24(int w, int h, const Bytes &rgb) {
    size_t stride = (((size_t)w * 24 + 31) / 32) * 4;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + stride * h);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    bh->biSize = sizeof *bh;
    bh->biWidth = w;
    bh->biHeight = h;
    bh->biPlanes = 1;
    bh->biBitCount = 24;
    bh->biSizeImage = (DWORD)(stride * h);
    BYTE *bits = (BYTE *)(bh + 1);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const BYTE *p = &rgb[((size_t)y * w + x) * 3];
            BYTE *q = bits + (size_t)(h - 1 - y) * stride + 3 * x;
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    GlobalUnlock(dib);
    return dib;
}

/* An 8-bit gray DIB from top-down samples. */
inline HGLOBAL make_dib_gray(int w, int h, const Bytes &gray) {
    size_t stride = (((size_t)w * 8 + 31) / 32) * 4;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 1024 + stride * h);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    bh->biSize = sizeof *bh;
    bh->biWidth = w;
    bh->biHeight = h;
    bh->biPlanes = 1;
    bh->biBitCount = 8;
    bh->biClrUsed = 256;
    RGBQUAD *table = (RGBQUAD *)(bh + 1);
    for (int i = 0; i < 256; i++) table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = (BYTE)i;
    BYTE *bits = (BYTE *)(table + 256);
    for (int y = 0; y < h; y++) memcpy(bits + (size_t)(h - 1 - y) * stride, &gray[(size_t)y * w], w);
    GlobalUnlock(dib);
    return dib;
}

/* A photo-like test picture: smooth shading, edges and mild texture. */
inline Bytes test_picture(int w, int h) {
    Bytes rgb;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            double fx = (double)x / w, fy = (double)y / h;
            int r = (int)(128 + 100 * sin(fx * 6.0) * cos(fy * 4.0));
            int g = (int)(60 + 150 * fy);
            int b = (int)(200 - 120 * fx + 20 * sin((x + y) * 0.3));
            if ((x / 16 + y / 16) % 5 == 0) r += 60, g += 60, b += 60; /* lighter tiles: hard edges */
            rgb.push_back((BYTE)std::min(255, std::max(0, r)));
            rgb.push_back((BYTE)std::min(255, std::max(0, g)));
            rgb.push_back((BYTE)std::min(255, std::max(0, b)));
        }
    return rgb;
}

inline double psnr(const Bytes &a, const Bytes &b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); i++) sum += (double)(a[i] - b[i]) * (a[i] - b[i]);
    if (sum == 0) return 99;
    return 10 * log10(255.0 * 255.0 * a.size() / sum);
}

/* Runs a shell command, true on exit status 0. */
inline bool run(const std::string &command) { return system(command.c_str()) == 0; }

#endif
