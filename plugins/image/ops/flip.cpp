// Flip: the rows in the opposite order; the pixels are not touched.
#include <stdlib.h>
#include <string.h>

#include "ops_internal.h"

extern "C" int img_flip(HGLOBAL dib, HGLOBAL *out) {
    *out = nullptr;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    ImgTarget dst;
    status = img_target_like(&src, src.width, src.height, &dst);
    if (status == IMG_OK) {
        for (LONG y = 0; y < src.height; y++)
            memcpy(img_target_row(&dst, src.height - 1 - y), img_source_row(&src, y), src.stride);
        status = img_target_finish(&dst, out);
    }
    img_source_close(&src);
    return status;
}

// Rows i and height-1-i exchanged through a one-row buffer; an odd
// height's middle row stays.
extern "C" int img_flip_in_place(HGLOBAL dib) {
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    BYTE *row = static_cast<BYTE *>(malloc(src.stride));
    bool ok = row != nullptr;
    if (ok) {
        BYTE *bits = const_cast<BYTE *>(src.bits);
        for (LONG y = 0; y < src.height / 2; y++) {
            BYTE *a = bits + (size_t)y * src.stride, *b = bits + (size_t)(src.height - 1 - y) * src.stride;
            memcpy(row, a, src.stride);
            memcpy(a, b, src.stride);
            memcpy(b, row, src.stride);
        }
    }
    free(row);
    img_source_close(&src);
    return ok ? IMG_OK : IMG_NO_MEMORY;
}
