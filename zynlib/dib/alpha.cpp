// ZYN_DIB_AddAlpha: an image's colors with a mask's gray (or alpha) as the
// alpha channel.
#include <stdlib.h>

#include "depth_internal.h"

namespace {

bool alpha_depth(WORD bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

void mask_alpha(const ZynImage &m, const BYTE *row, BYTE *index, BYTE *alpha) {
    if (m.bitCount < 24) {
        zyn_unpack_indices(row, m.bitCount, m.width, index);
        for (LONG x = 0; x < m.width; x++) {
            RGBQUAD q = zyn_entry(m.table, m.colors, index[x]);
            alpha[x] = zyn_gray_value(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
    } else if (m.bitCount == 24) {
        for (LONG x = 0; x < m.width; x++, row += 3) alpha[x] = zyn_gray_value(row[2], row[1], row[0]);
    } else {
        for (LONG x = 0; x < m.width; x++) alpha[x] = row[4 * x + 3];
    }
}

void image_colors(const ZynImage &img, const BYTE *row, BYTE *index, const BYTE *alpha, BYTE *d) {
    if (img.bitCount < 24) zyn_unpack_indices(row, img.bitCount, img.width, index);
    size_t px = img.bitCount / 8;
    for (LONG x = 0; x < img.width; x++, d += 4) {
        if (img.bitCount < 24) {
            RGBQUAD q = zyn_entry(img.table, img.colors, index[x]);
            d[0] = q.rgbBlue, d[1] = q.rgbGreen, d[2] = q.rgbRed;
        } else {
            const BYTE *s = row + px * (size_t)x;
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
        }
        d[3] = alpha[x];
    }
}

HGLOBAL combine(const ZynImage &img, const ZynImage &mask) {
    HGLOBAL out;
    BITMAPINFOHEADER model = *img.header;
    model.biClrImportant = 0;
    BYTE *p = zyn_new_dib(&model, img.width, img.height, 32, 0, &out);
    BYTE *index = static_cast<BYTE *>(malloc((size_t)img.width));
    BYTE *alpha = static_cast<BYTE *>(malloc((size_t)img.width));
    if (!p || !index || !alpha) {
        if (p) GlobalUnlock(out);
        if (out) GlobalFree(out);
        out = nullptr;
    } else {
        BYTE *bits = zyn_new_bits(p);
        for (LONG y = 0; y < img.height; y++) {
            mask_alpha(mask, mask.bits + (size_t)y * mask.stride, index, alpha);
            image_colors(img, img.bits + (size_t)y * img.stride, index, alpha, bits + (size_t)y * 4 * img.width);
        }
        GlobalUnlock(out);
    }
    free(index);
    free(alpha);
    return out;
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_AddAlpha(HGLOBAL image, HGLOBAL mask) {
    ZynImage img, m;
    if (!zyn_image_open(image, &img)) return nullptr;
    if (!alpha_depth(img.bitCount)) {
        zyn_image_close(&img);
        return nullptr;
    }
    HGLOBAL scaled = nullptr;
    BITMAPINFOHEADER mh;
    if (!ZYN_DIB_Info(mask, &mh)) {
        zyn_image_close(&img);
        return nullptr;
    }
    if (mh.biWidth != img.width || mh.biHeight != img.height) {
        scaled = ZYN_DIB_StretchDIB(mask, img.width, img.height);
        if (!scaled) {
            zyn_image_close(&img);
            return nullptr;
        }
        mask = scaled;
    }
    HGLOBAL out = nullptr;
    if (zyn_image_open(mask, &m)) {
        // The mask's rows must match the image's once scaled.
        if (alpha_depth(m.bitCount) && m.width == img.width && m.height == img.height) out = combine(img, m);
        zyn_image_close(&m);
    }
    zyn_image_close(&img);
    if (scaled) GlobalFree(scaled);
    return out;
}
