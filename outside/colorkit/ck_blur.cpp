// The separable blur of colorkit: across into a scratch image, then down
// into the output.
#include <stdlib.h>

#include "ck_internal.h"

namespace {

void blur_across(const CkImage *img, const int *weights, int taps, int shift, BYTE *scratch, const CkOut *out) {
    const LONG w = img->src.width, h = img->src.height, r = taps / 2;
    const int half = 1 << (shift - 1);
    for (LONG y = 0; y < h; y++) {
        BYTE *d = scratch + (size_t)y * out->stride;
        for (LONG x = 0; x < w; x++, d += out->bytes) {
            int sum[3] = {half, half, half};
            BYTE px[4];
            for (int k = 0; k < taps; k++) {
                ck_pixel(img, ck_clamp(x + k - r, w - 1), y, px);
                for (int c = 0; c < 3; c++) sum[c] += weights[k] * px[c];
            }
            for (int c = 0; c < 3; c++) d[c] = (BYTE)(sum[c] >> shift);
            if (out->bytes == 4) {
                ck_pixel(img, x, y, px);
                d[3] = px[3];
            }
        }
    }
}

void blur_down(const BYTE *scratch, LONG w, LONG h, const int *weights, int taps, int shift, const CkOut *out) {
    const LONG r = taps / 2;
    const int half = 1 << (shift - 1);
    for (LONG y = 0; y < h; y++) {
        BYTE *d = out->bits + (size_t)y * out->stride;
        for (LONG x = 0; x < w; x++, d += out->bytes) {
            const size_t at = (size_t)x * (size_t)out->bytes;
            int sum[3] = {half, half, half};
            for (int k = 0; k < taps; k++) {
                const BYTE *s = scratch + (size_t)ck_clamp(y + k - r, h - 1) * out->stride + at;
                for (int c = 0; c < 3; c++) sum[c] += weights[k] * s[c];
            }
            for (int c = 0; c < 3; c++) d[c] = (BYTE)(sum[c] >> shift);
            if (out->bytes == 4) d[3] = scratch[(size_t)y * out->stride + at + 3];
        }
    }
}

}  // namespace

extern "C" int ck_blur(const CkImage *img, const int *weights, int taps, int shift, CkOut *out) {
    // The scratch has the output's size, which ck_new has checked.
    BYTE *scratch = static_cast<BYTE *>(malloc(out->stride * (size_t)img->src.height));
    if (!scratch) return 0;
    blur_across(img, weights, taps, shift, scratch, out);
    blur_down(scratch, img->src.width, img->src.height, weights, taps, shift, out);
    free(scratch);
    return 1;
}
