// The half-step filters: 8-bit averaging that stays in the image's palette
// by looking the mean of each pair up in the half-step table.
#include <string.h>

#include "depth_internal.h"

namespace {

inline BYTE pair(const BYTE *hs, BYTE a, BYTE b) { return hs[a + 256 * b]; }

// The half-step mean of four pixels of one row, c0..c3.
inline BYTE row_of_four(const BYTE *hs, const BYTE *c) {
    return pair(hs, pair(hs, c[2], c[3]), pair(hs, c[0], c[1]));
}

HGLOBAL half_step_down(HGLOBAL dib, LONG step) {
    const BYTE *hs = zyn_half_steps();
    ZynImage img;
    if (!hs || !zyn_image_open(dib, &img)) return nullptr;
    HGLOBAL out = nullptr;
    if (img.bitCount == 8) {
        LONG w = img.width / step, h = img.height / step;
        BITMAPINFOHEADER model = *img.header;
        BYTE *p = zyn_new_dib(&model, w, h, 8, img.colors, &out);
        if (p) {
            memcpy(zyn_new_table(p), img.table, (size_t)img.colors * sizeof(RGBQUAD));
            BYTE *bits = zyn_new_bits(p);
            size_t stride = ((size_t)w + 3) & ~(size_t)3;
            for (LONG y = 0; y < h; y++) {
                BYTE *d = bits + (size_t)y * stride;
                if (step == 2) {
                    const BYTE *pRow = img.bits + (size_t)(2 * y) * img.stride, *qRow = pRow + img.stride;
                    for (LONG x = 0; x < w; x++)
                        d[x] = pair(hs, pair(hs, qRow[2 * x], qRow[2 * x + 1]), pair(hs, pRow[2 * x], pRow[2 * x + 1]));
                } else {
                    // Only the upper two rows of each 4 x 4 block count.
                    const BYTE *r2 = img.bits + (size_t)(4 * y + 2) * img.stride, *r3 = r2 + img.stride;
                    for (LONG x = 0; x < w; x++)
                        d[x] = pair(hs, row_of_four(hs, r3 + 4 * x), row_of_four(hs, r2 + 4 * x));
                }
            }
            GlobalUnlock(out);
        }
    }
    zyn_image_close(&img);
    return out;
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_HSHQHalfDIB8(HGLOBAL dib) { return half_step_down(dib, 2); }
extern "C" HGLOBAL WINAPI ZYN_DIB_HSHQQuarterDIB8(HGLOBAL dib) { return half_step_down(dib, 4); }
