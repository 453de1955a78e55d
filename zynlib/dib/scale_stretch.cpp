// ZYN_DIB_StretchDIB: nearest-neighbour resampling by error accumulation.
// Destination pixel (x, y) is source pixel (x * sw / dw, y * sh / dh),
// rounded down.  The column map is worked out once and serves every row;
// a destination row that repeats the previous source row is copied whole.
#include <stdlib.h>
#include <string.h>

#include "depth_internal.h"

namespace {

// The maps hold one position per destination column and row; a side beyond
// this is refused rather than given gigabytes of map.
const int kMaxSide = 1 << 24;

// Source positions of count destination steps; the accumulator never
// exceeds count + from, so 64 bits cannot overflow.
void accumulate_positions(LONG from, LONG count, uint32_t *out) {
    uint32_t pos = 0;
    uint64_t acc = 0;
    for (LONG i = 0; i < count; i++) {
        out[i] = pos;
        acc += (uint64_t)from;
        while (acc >= (uint64_t)count) {
            acc -= (uint64_t)count;
            pos++;
        }
    }
}

void stretch_row(const BYTE *s, BYTE *d, WORD bits, const uint32_t *column, LONG width) {
    switch (bits) {
    case 8:
        for (LONG x = 0; x < width; x++) d[x] = s[column[x]];
        break;
    case 24:
        for (LONG x = 0; x < width; x++, d += 3) {
            const BYTE *p = s + (size_t)column[x] * 3;
            d[0] = p[0], d[1] = p[1], d[2] = p[2];
        }
        break;
    case 32:
        for (LONG x = 0; x < width; x++, d += 4) memcpy(d, s + (size_t)column[x] * 4, 4);
        break;
    default:
        // 1 and 4 bits: the rows start zeroed, so only set bits are written.
        for (LONG x = 0; x < width; x++) {
            BYTE v = zyn_index_at(s, bits, column[x]);
            if (bits == 4)
                d[x >> 1] |= (x & 1) ? v : (BYTE)(v << 4);
            else if (v)
                d[x >> 3] |= (BYTE)(0x80 >> (x & 7));
        }
    }
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_StretchDIB(HGLOBAL dib, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    ZynImage img;
    if (!zyn_image_open(dib, &img)) return nullptr;
    HGLOBAL out = nullptr;
    DWORD colors = img.bitCount < 24 ? img.colors : 0;
    BYTE *p = zyn_new_dib(img.header, width, height, img.bitCount, colors, &out);
    uint32_t *column = static_cast<uint32_t *>(malloc((size_t)width * sizeof(uint32_t)));
    uint32_t *row = static_cast<uint32_t *>(malloc((size_t)height * sizeof(uint32_t)));
    if (!p || !column || !row) {
        if (p) GlobalUnlock(out);
        if (out) GlobalFree(out);
        out = nullptr;
    } else {
        memcpy(zyn_new_table(p), img.table, (size_t)colors * sizeof(RGBQUAD));
        accumulate_positions(img.width, width, column);
        accumulate_positions(img.height, height, row);
        uint64_t stride;
        zyn_dib_stride(width, img.bitCount, &stride);
        BYTE *bits = zyn_new_bits(p);
        for (LONG y = 0; y < height; y++) {
            BYTE *d = bits + (size_t)y * stride;
            if (y > 0 && row[y] == row[y - 1])
                memcpy(d, d - stride, (size_t)stride);
            else
                stretch_row(img.bits + (size_t)row[y] * img.stride, d, img.bitCount, column, width);
        }
        GlobalUnlock(out);
    }
    free(column);
    free(row);
    zyn_image_close(&img);
    return out;
}
