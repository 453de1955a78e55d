// Quarter turns, exact at every depth.  For one clockwise turn source
// pixel (column j, stored row i) goes to column i, stored row width-1-j.
// Whole-byte pixels move in square blocks so both images are walked in
// cache-sized pieces; 1- and 4-bit pixels move one at a time into the
// zeroed result.
#include <string.h>

#include "ops_internal.h"

namespace {

// Each destination row then takes runs of 256 pixels at a time.
const LONG kBlock = 256;

struct Turn {
    int k;
    LONG W, H;  // source size
    void place(LONG j, LONG i, LONG *x, LONG *y) const {
        switch (k) {
            case 1: *x = i, *y = W - 1 - j; break;
            case 2: *x = W - 1 - j, *y = H - 1 - i; break;
            default: *x = H - 1 - i, *y = j;
        }
    }
};

// Along a source row the destination moves by a fixed step: up or down a
// row for the quarter turns, one pixel back for the half turn.
template <size_t PX>
void turn_bytes(const ImgSource &s, ImgTarget &d, const Turn &t) {
    ptrdiff_t step = t.k == 1 ? -(ptrdiff_t)d.stride : t.k == 2 ? -(ptrdiff_t)PX : (ptrdiff_t)d.stride;
    for (LONG i0 = 0; i0 < s.height; i0 += kBlock)
        for (LONG j0 = 0; j0 < s.width; j0 += kBlock) {
            LONG i1 = i0 + kBlock < s.height ? i0 + kBlock : s.height;
            LONG j1 = j0 + kBlock < s.width ? j0 + kBlock : s.width;
            for (LONG i = i0; i < i1; i++) {
                const BYTE *from = img_source_row(&s, i) + (size_t)j0 * PX;
                LONG x, y;
                t.place(j0, i, &x, &y);
                BYTE *to = img_target_row(&d, y) + (size_t)x * PX;
                for (LONG j = j0; j < j1; j++, from += PX, to += step) memcpy(to, from, PX);
            }
        }
}

void turn_packed(const ImgSource &s, ImgTarget &d, const Turn &t) {
    for (LONG i = 0; i < s.height; i++) {
        const BYTE *row = img_source_row(&s, i);
        for (LONG j = 0; j < s.width; j++) {
            LONG x, y;
            t.place(j, i, &x, &y);
            BYTE v = zyn_index_at(row, s.bitCount, (size_t)j);
            if (v) zyn_index_put(img_target_row(&d, y), s.bitCount, (size_t)x, v);
        }
    }
}

}  // namespace

extern "C" int img_rotate_quarter(HGLOBAL dib, int turns, HGLOBAL *out) {
    *out = nullptr;
    if (turns < 1 || turns > 3) return IMG_BAD_PARAMS;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    bool across = turns != 2;
    ImgTarget dst;
    status = img_target_like(&src, across ? src.height : src.width, across ? src.width : src.height, &dst);
    if (status == IMG_OK) {
        Turn t = {turns, src.width, src.height};
        switch (src.bitCount) {
            case 8: turn_bytes<1>(src, dst, t); break;
            case 24: turn_bytes<3>(src, dst, t); break;
            case 32: turn_bytes<4>(src, dst, t); break;
            default: turn_packed(src, dst, t);
        }
        status = img_target_finish(&dst, out);
    }
    img_source_close(&src);
    return status;
}
