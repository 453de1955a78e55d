// Invert: palette images invert their table and keep their pixels; 1- and
// 24-bit rows are complemented word by word, padding included; 32-bit
// pixels keep their alpha.  Row counters are full width: a 16-bit count
// would stop short on wide or tall images.
#include <string.h>

#include "image_strings.h"
#include "ops_internal.h"

namespace {

void invert_table(RGBQUAD *table, DWORD colors) {
    for (DWORD i = 0; i < colors; i++) {
        table[i].rgbBlue = (BYTE)(255 - table[i].rgbBlue);
        table[i].rgbGreen = (BYTE)(255 - table[i].rgbGreen);
        table[i].rgbRed = (BYTE)(255 - table[i].rgbRed);
    }
}

// Strides are multiples of 4, so whole words.
void complement_row(const BYTE *s, BYTE *d, size_t stride, uint32_t mask) {
    for (size_t i = 0; i < stride; i += 4) {
        uint32_t v;
        memcpy(&v, s + i, 4);
        v ^= mask;
        memcpy(d + i, &v, 4);
    }
}

// Rows from src to dst, which may be the same rows.
void invert_rows(const ImgSource &src, BYTE *dst, const ImgProgress *progress) {
    // Blue, green and red bytes of each little-endian pixel word.
    uint32_t mask = src.bitCount == 32 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    ImgRun run;
    img_run_start(&run, progress, IDS_IMG_INVERTING, src.height);
    for (LONG y = 0; y < src.height; y++) {
        complement_row(img_source_row(&src, y), dst + (size_t)y * src.stride, src.stride, mask);
        img_run_row(&run, y);
    }
    img_run_to(&run, src.height);
    img_run_end(&run);
}

}  // namespace

extern "C" int img_invert(HGLOBAL dib, const ImgProgress *progress, HGLOBAL *out) {
    *out = nullptr;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    ImgTarget dst;
    status = img_target_like(&src, src.width, src.height, &dst);
    if (status != IMG_OK) {
        img_source_close(&src);
        return status;
    }
    if (src.bitCount == 4 || src.bitCount == 8) {
        memcpy(dst.bits, src.bits, src.stride * (size_t)src.height);
        invert_table(dst.table, dst.header->biClrUsed);
    } else {
        invert_rows(src, dst.bits, progress);
    }
    img_source_close(&src);
    return img_target_finish(&dst, out);
}

extern "C" int img_invert_in_place(HGLOBAL dib, const ImgProgress *progress) {
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    if (src.bitCount == 4 || src.bitCount == 8)
        invert_table(const_cast<RGBQUAD *>(src.table), src.colors);
    else
        invert_rows(src, const_cast<BYTE *>(src.bits), progress);
    img_source_close(&src);
    return IMG_OK;
}
