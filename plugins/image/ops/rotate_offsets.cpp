// Sample offsets of the high-quality rotation, and the mean of four
// 24-bit samples read a word at a time: blue and red sum in the 16-bit
// halves of one word, green in another (four samples stay below 1,024).
#include <stdlib.h>
#include <string.h>

#include "rotate_offsets.h"

namespace {

// Tables of more than this many bytes are not worth their memory.
const size_t kMaxTableBytes = (size_t)64 << 20;

inline uint32_t pixel_word(const BYTE *p, const BYTE *wordEnd) {
    if (p >= wordEnd) return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16;
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

struct RowBases {
    ptrdiff_t base[2];
    const ptrdiff_t *a[2], *b[2];  // the tables of samples (0, sy) and (1, sy)
};

RowBases row_bases(const RotateOffsets *o, const RotateMap *m, LONG y) {
    RowBases r;
    for (int sy = 0; sy < 2; sy++) {
        int32_t s2 = m->s2[sy][y], c2 = m->c2[sy][y];
        r.base[sy] = (ptrdiff_t)(m->srcHeight / 2 + (c2 >> 1)) * (ptrdiff_t)o->stride +
                     (ptrdiff_t)(m->srcWidth / 2 + (s2 >> 1)) * (ptrdiff_t)o->px;
        int variant = (s2 & 1) | (c2 & 1) << 1;
        r.a[sy] = o->column[0][variant];
        r.b[sy] = o->column[1][variant];
    }
    return r;
}

}  // namespace

int rotate_offsets_init(RotateOffsets *o, const RotateMap *m, const ImgSource *src) {
    memset(o, 0, sizeof *o);
    size_t n = (size_t)m->width;
    if (m->samples != 2 || n > kMaxTableBytes / (8 * sizeof(ptrdiff_t))) return IMG_NO_MEMORY;
    o->stride = src->stride;
    o->px = src->bitCount / 8;
    for (int sx = 0; sx < 2; sx++)
        for (int v = 0; v < 4; v++)
            if (!(o->column[sx][v] = static_cast<ptrdiff_t *>(malloc(n * sizeof(ptrdiff_t))))) {
                rotate_offsets_free(o);
                return IMG_NO_MEMORY;
            }
    for (int sx = 0; sx < 2; sx++)
        for (size_t x = 0; x < n; x++) {
            int32_t c = m->c1[sx][x], ns = -m->s1[sx][x];
            for (int v = 0; v < 4; v++) {
                int32_t col = (c >> 1) + (c & (v & 1)), row = (ns >> 1) + (ns & (v >> 1) & 1);
                o->column[sx][v][x] = (ptrdiff_t)row * (ptrdiff_t)o->stride + (ptrdiff_t)col * (ptrdiff_t)o->px;
            }
        }
    return IMG_OK;
}

void rotate_offsets_free(RotateOffsets *o) {
    for (int sx = 0; sx < 2; sx++)
        for (int v = 0; v < 4; v++) free(o->column[sx][v]);
    memset(o, 0, sizeof *o);
}

void rotate_offsets_run(const RotateOffsets *o, const RotateMap *m, const ImgSource *src, LONG y, LONG lo, LONG hi,
                        BYTE *out) {
    RowBases r = row_bases(o, m, y);
    const BYTE *bits = src->bits;
    if (o->px == 3) {
        const BYTE *wordEnd = bits + src->stride * (size_t)src->height - 3;
        const uint32_t mask = 0x00FF00FFu;
        for (LONG x = lo; x < hi; x++) {
            uint32_t v0 = pixel_word(bits + (r.base[0] + r.a[0][x]), wordEnd);
            uint32_t v1 = pixel_word(bits + (r.base[0] + r.b[0][x]), wordEnd);
            uint32_t v2 = pixel_word(bits + (r.base[1] + r.a[1][x]), wordEnd);
            uint32_t v3 = pixel_word(bits + (r.base[1] + r.b[1][x]), wordEnd);
            uint32_t br = (v0 & mask) + (v1 & mask) + (v2 & mask) + (v3 & mask);
            uint32_t g = ((v0 >> 8) & 0xFF) + ((v1 >> 8) & 0xFF) + ((v2 >> 8) & 0xFF) + ((v3 >> 8) & 0xFF);
            BYTE *d = out + (size_t)x * 3;
            d[0] = (BYTE)((br & 0xFFFF) >> 2);
            d[1] = (BYTE)(g >> 2);
            d[2] = (BYTE)(br >> 18);
        }
        return;
    }
    for (LONG x = lo; x < hi; x++) {
        const BYTE *p[4] = {bits + (r.base[0] + r.a[0][x]), bits + (r.base[0] + r.b[0][x]),
                            bits + (r.base[1] + r.a[1][x]), bits + (r.base[1] + r.b[1][x])};
        for (int c = 0; c < 4; c++) out[(size_t)x * 4 + c] = (BYTE)((p[0][c] + p[1][c] + p[2][c] + p[3][c]) >> 2);
    }
}
