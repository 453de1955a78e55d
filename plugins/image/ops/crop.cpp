// Crop: the rows between the bottom and top margins, each from pixel
// `left` on.  Rows are stored bottom-up, so the cut skips `bottom` rows
// from the first stored row.  Unaligned 1- and 4-bit rows are moved bit by
// bit, reading nothing past the pixels kept.
#include <string.h>

#include "ops_internal.h"

namespace {

void crop_row(const BYTE *s, BYTE *d, LONG left, LONG width, WORD bits) {
    if (bits >= 8) {
        size_t px = bits / 8;
        memcpy(d, s + (size_t)left * px, (size_t)width * px);
    } else {
        img_bits_extract(s, (size_t)left * bits, (size_t)width * bits, d);
    }
}

int cropped_size(const ImgSource &src, const ImgCropParams *p, LONG *width, LONG *height) {
    int64_t w = (int64_t)src.width - p->left - p->right, h = (int64_t)src.height - p->top - p->bottom;
    if (p->left < 0 || p->right < 0 || p->top < 0 || p->bottom < 0 || w <= 0 || h <= 0) return 0;
    *width = (LONG)w, *height = (LONG)h;
    return 1;
}

}  // namespace

extern "C" int img_crop(HGLOBAL dib, const ImgCropParams *p, HGLOBAL *out) {
    *out = nullptr;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    LONG width, height;
    if (!cropped_size(src, p, &width, &height)) {
        img_source_close(&src);
        return IMG_BAD_PARAMS;
    }
    ImgTarget dst;
    status = img_target_like(&src, width, height, &dst);
    if (status == IMG_OK) {
        for (LONG y = 0; y < dst.height; y++)
            crop_row(img_source_row(&src, p->bottom + y), img_target_row(&dst, y), p->left, dst.width, src.bitCount);
        status = img_target_finish(&dst, out);
    }
    img_source_close(&src);
    return status;
}

// Every kept row moves to an earlier place (its stride is no longer and
// it had `bottom` rows before it), so rows are moved first to last; a
// row that keeps its place is only shifted left within itself, which the
// bit moves allow.
extern "C" int img_crop_in_place(HGLOBAL *dib, const ImgCropParams *p) {
    ImgSource src;
    int status = img_source_open(*dib, &src);
    if (status != IMG_OK) return status;
    LONG width, height;
    size_t stride;
    if (!cropped_size(src, p, &width, &height) || !img_stride(width, src.bitCount, &stride)) {
        img_source_close(&src);
        return IMG_BAD_PARAMS;
    }
    BYTE *bits = const_cast<BYTE *>(src.bits);
    size_t px = src.bitCount / 8;
    for (LONG y = 0; y < height; y++) {
        BYTE *to = bits + (size_t)y * stride;
        const BYTE *from = bits + (size_t)(p->bottom + y) * src.stride;
        if (px)
            memmove(to, from + (size_t)p->left * px, (size_t)width * px);
        else
            img_bits_extract(from, (size_t)p->left * src.bitCount, (size_t)width * src.bitCount, to);
        memset(to + ((size_t)width * src.bitCount + 7) / 8, 0, stride - ((size_t)width * src.bitCount + 7) / 8);
    }
    BITMAPINFOHEADER *h = const_cast<BITMAPINFOHEADER *>(src.header);
    h->biWidth = width;
    h->biHeight = height;
    h->biSizeImage = (DWORD)(stride * (size_t)height);
    size_t bytes = (size_t)(bits - reinterpret_cast<BYTE *>(h)) + stride * (size_t)height;
    img_source_close(&src);
    HGLOBAL smaller = GlobalReAlloc(*dib, bytes, GMEM_MOVEABLE);
    if (smaller) *dib = smaller;  // else the block keeps its spare bytes
    return IMG_OK;
}
