// The image plug-in's operations on any DIB block and any parameters.  The
// first 12 bytes choose the operation and its parameters, the rest is the
// block (header, table, pixels) as a host could hand it over.  No
// operation may read or write outside a block, and every result must be a
// sound DIB.  A first byte from 0xF0 on runs an in-place form on the block
// itself.  The metafile player gets the bytes after the first 12 too.
#include <stdint.h>
#include <string.h>

#include "image_ops.h"
#include "polygon_fill.h"
#include "zynlib.h"

namespace {

const size_t kParams = 12;

int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

// Sizes kept small so that one run stays short; the checks that matter
// (sides, sums, pixel reach) are the same for large ones.
LONG small(const uint8_t *p) { return (LONG)(p[0] | (p[1] & 0x01) << 8) - 8; }

void check(int status, HGLOBAL out) {
    if (status != IMG_OK) {
        if (out) __builtin_trap();
        return;
    }
    BITMAPINFOHEADER *h;
    BYTE *bits;
    if (!out || !ZYN_DIB_LockPtrs(out, &h, NULL, &bits) || h->biCompression != BI_RGB) __builtin_trap();
    size_t stride = (((size_t)h->biBitCount * (size_t)h->biWidth + 31) >> 5) * 4;
    if ((size_t)(bits - (BYTE *)h) + stride * (size_t)h->biHeight > GlobalSize(out)) __builtin_trap();
    GlobalUnlock(out);
    GlobalFree(out);
}

ImgColor color(const uint8_t *p) {
    ImgColor c = {p[0], p[1], p[2], p[3]};
    return c;
}

// The in-place forms work on the block itself, which they may replace.
int run_in_place(int op, const uint8_t *p, HGLOBAL *dib) {
    switch (op) {
        case 0: return img_invert_in_place(*dib, nullptr);
        case 1: return img_flip_in_place(*dib);
        case 2: return img_mirror_in_place(*dib);
        case 3: {
            ImgCropParams c = {small(p), small(p + 2), small(p + 4), small(p + 6)};
            return img_crop_in_place(dib, &c);
        }
        default: {
            ImgFrameParams f = {p[0] & 31u, p[1] & 31u, p[2] & 31u, p[3] & 31u, p[4] % 3, color(p + 5), color(p + 7)};
            return img_frame_in_place(dib, &f);
        }
    }
}

int run(int op, const uint8_t *p, HGLOBAL dib, HGLOBAL *out) {
    switch (op % 11) {
        case 0: return img_invert(dib, nullptr, out);
        case 1: return img_flip(dib, out);
        case 2: return img_mirror(dib, out);
        case 3: {
            ImgCropParams c = {small(p), small(p + 2), small(p + 4), small(p + 6)};
            return img_crop(dib, &c, out);
        }
        case 4:
        case 5: {
            ImgScaleParams s = {small(p), small(p + 2), op % 11 == 5, p[4] & 1};
            return img_scale(dib, &s, nullptr, out);
        }
        case 6: {
            ImgRotateParams r = {(int)(int16_t)(p[0] | p[1] << 8) % 400, p[2] & 1, color(p + 3)};
            return img_rotate(dib, &r, nullptr, out);
        }
        case 7: {
            ImgFrameParams f = {p[0] & 31u, p[1] & 31u, p[2] & 31u, p[3] & 31u, p[4] % 3, color(p + 5), color(p + 7)};
            return img_frame(dib, &f, out);
        }
        case 8: {
            ImgTileParams t = {p[0] & 3u, p[1] & 3u, p[2] & 1};
            return img_tile(dib, &t, out);
        }
        case 9: {
            BITMAPINFOHEADER bi;
            HGLOBAL coverage = NULL;
            if (!ZYN_DIB_Info(dib, &bi) || bi.biWidth <= 0 || bi.biHeight <= 0 ||
                (int64_t)bi.biWidth * bi.biHeight > (1 << 20) ||
                img_mask_shape_coverage(100 + p[0] % 18, bi.biWidth, bi.biHeight, &coverage) != IMG_OK)
                return IMG_BAD_PARAMS;
            ImgMaskParams m = {p[1] & 1, p[2] & 1, p[3] & 1, color(p + 4)};
            int status = img_mask(dib, coverage, &m, out);
            GlobalFree(coverage);
            return status;
        }
        default: {
            // The block's bytes as the mask itself, 8 bits a pixel.
            HGLOBAL coverage = dib, image = NULL;
            BITMAPINFOHEADER bi;
            if (!ZYN_DIB_Info(coverage, &bi) || img_invert(coverage, nullptr, &image) != IMG_OK) return IMG_BAD_PARAMS;
            ImgMaskParams m = {p[0] & 1, 1, 1, color(p + 1)};
            int status = img_mask(image, coverage, &m, out);
            GlobalFree(image);
            return status;
        }
    }
}

void play(const uint8_t *data, size_t size, const uint8_t *p) {
    BYTE canvas[40 * 40];
    ImgRaster r = {canvas, 40, 1 + p[0] % 40, 1 + p[1] % 40};
    img_metafile_play(data, size, &r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    if (size < kParams || size > (1u << 16)) return 0;
    const uint8_t *p = data + 1;
    play(data + kParams, size - kParams, p);
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, size - kParams);
    if (!dib) return 0;
    memcpy(GlobalLock(dib), data + kParams, size - kParams);
    GlobalUnlock(dib);
    HGLOBAL out = NULL;
    if (data[0] >= 0xF0) {
        int status = run_in_place((data[0] & 15) % 5, p, &dib);
        if (status == IMG_OK) {
            check(status, dib);  // frees it
            return 0;
        }
    } else {
        check(run(data[0], p, dib, &out), out);
    }
    GlobalFree(dib);
    return 0;
}
