// Scale: low quality through the library's stretch, high quality through
// our own resamplers.  Sizes are checked before anything is allocated: 0
// or less is refused, and a side beyond IMG_MAX_SIDE (or pixels beyond 32
// bits) is the operation's memory shortage.
#include "scale_high.h"

namespace {

int size_fits(LONG width, LONG height, WORD bits) {
    size_t stride;
    return width <= IMG_MAX_SIDE && height <= IMG_MAX_SIDE && img_stride(width, bits, &stride) &&
           (uint64_t)stride * (uint64_t)height <= 0xFFFFFFFFu;
}

}  // namespace

extern "C" int img_scale(HGLOBAL dib, const ImgScaleParams *p, const ImgProgress *progress, HGLOBAL *out) {
    *out = nullptr;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    if (p->width <= 0 || p->height <= 0) {
        status = IMG_BAD_PARAMS;
    } else if (p->width == src.width && p->height == src.height) {
        status = IMG_UNCHANGED;
    } else if (p->quality == IMG_QUALITY_HIGH) {
        status = img_scale_high(&src, p->width, p->height, p->gray, progress, out);
    } else if (!size_fits(p->width, p->height, src.bitCount)) {
        status = IMG_NO_MEMORY;
    } else {
        img_source_close(&src);  // the library locks it itself
        *out = ZYN_DIB_StretchDIB(dib, (int)p->width, (int)p->height);
        return *out ? IMG_OK : IMG_NO_MEMORY;
    }
    img_source_close(&src);
    return status;
}
