// Mask: pixels inside the shape (or outside, inverted) are kept, the
// others painted in the mask color.  The shape comes as a coverage copy of
// 8 or 1 bits read by value, 0 inside, and the result keeps the image's
// own table: reading the shape back at the image's depth would match black
// to whatever entry is nearest.
#include <string.h>

#include "ops_internal.h"

namespace {

struct Paint {
    WORD bits;
    BYTE index;
    BYTE color[3];
    bool colorChannels, alphaChannel;
    void apply(BYTE *row, LONG x) const {
        if (bits <= 8) {
            zyn_index_put(row, bits, (size_t)x, index);
            return;
        }
        BYTE *p = row + (size_t)x * (bits / 8);
        if (bits == 24 || colorChannels) memcpy(p, color, 3);
        if (bits == 32 && alphaChannel) p[3] = 255;
    }
};

}  // namespace

extern "C" int img_mask(HGLOBAL dib, HGLOBAL coverage, const ImgMaskParams *p, HGLOBAL *out) {
    *out = nullptr;
    if (!coverage) return IMG_UNCHANGED;
    ImgSource src, cov;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    if (img_source_open(coverage, &cov) != IMG_OK) {
        img_source_close(&src);
        return IMG_BAD_PARAMS;
    }
    ImgTarget dst;
    if ((cov.bitCount != 8 && cov.bitCount != 1) || cov.width != src.width || cov.height != src.height)
        status = IMG_BAD_PARAMS;
    else
        status = img_target_like(&src, src.width, src.height, &dst);
    if (status == IMG_OK) {
        Paint paint = {src.bitCount, (BYTE)(p->color.index < src.colors ? p->color.index : 0),
                       {p->color.blue, p->color.green, p->color.red}, p->colorChannels != 0, p->alphaChannel != 0};
        memcpy(dst.bits, src.bits, src.stride * (size_t)src.height);
        for (LONG y = 0; y < src.height; y++) {
            const BYTE *c = img_source_row(&cov, y);
            BYTE *row = img_target_row(&dst, y);
            for (LONG x = 0; x < src.width; x++) {
                bool inside = zyn_index_at(c, cov.bitCount, (size_t)x) == 0;
                if (inside == (p->invert != 0)) paint.apply(row, x);
            }
        }
        status = img_target_finish(&dst, out);
    }
    img_source_close(&cov);
    img_source_close(&src);
    return status;
}
