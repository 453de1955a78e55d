// ZYN_DIB_IncreaseBpp: widening a DIB to more bits per pixel.  Palette
// targets keep the indices; true-color targets take each index's table
// entry.  A target of 16 builds the program's 16-bit level: 24 bits with
// the low three bits of every channel clear.
#include <string.h>

#include <stdlib.h>

#include "depth_internal.h"
#include "zyn_internal.h"

namespace {

bool widening_allowed(WORD from, UINT to) {
    if (from != 1 && from != 4 && from != 8 && from != 24) return false;
    if (to == 4 || to == 8 || to == 16) return from <= to && from != 24;
    return to == 24 || to == 32;
}

void write_true_color(const BYTE *index, const BYTE *bgr, LONG width, const RGBQUAD *table, DWORD colors, UINT to,
                      BYTE *d) {
    BYTE mask = to == 16 ? 0xF8 : 0xFF;
    for (LONG x = 0; x < width; x++) {
        BYTE b, g, r;
        if (index) {
            RGBQUAD q = zyn_entry(table, colors, index[x]);
            b = q.rgbBlue, g = q.rgbGreen, r = q.rgbRed;
        } else {
            b = bgr[3 * x], g = bgr[3 * x + 1], r = bgr[3 * x + 2];
        }
        *d++ = b & mask;
        *d++ = g & mask;
        *d++ = r & mask;
        if (to == 32) *d++ = 255;
    }
}

void write_indices(const BYTE *index, LONG width, UINT to, BYTE *d) {
    if (to == 8) {
        memcpy(d, index, (size_t)width);
        return;
    }
    for (LONG x = 0; x < width; x += 2) {
        BYTE second = x + 1 < width ? index[x + 1] : 0;
        *d++ = (BYTE)((index[x] << 4) | (second & 0x0F));
    }
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_IncreaseBpp(HGLOBAL dib, UINT bits) {
    ZynImage img;
    if (!zyn_image_open(dib, &img)) {
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        return nullptr;
    }
    if (!widening_allowed(img.bitCount, bits)) {
        zyn_image_close(&img);
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        return nullptr;
    }
    WORD outBits = bits == 16 ? 24 : (WORD)bits;
    DWORD outColors = outBits < 16 ? 1u << outBits : 0;
    BITMAPINFOHEADER model = *img.header;
    if (outColors == 0) model.biClrImportant = 0;
    if (model.biClrImportant > outColors) model.biClrImportant = outColors;
    HGLOBAL out;
    BYTE *p = zyn_new_dib(&model, img.width, img.height, outBits, outColors, &out);
    BYTE *index = p && img.bitCount < 24 ? static_cast<BYTE *>(malloc((size_t)img.width)) : nullptr;
    if (!p || (img.bitCount < 24 && !index)) {
        if (out) {
            GlobalUnlock(out);
            GlobalFree(out);
        }
        zyn_image_close(&img);
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    if (outColors) {
        DWORD keep = img.colors < (1u << img.bitCount) ? img.colors : 1u << img.bitCount;
        memcpy(zyn_new_table(p), img.table, (size_t)keep * sizeof(RGBQUAD));
    }
    BYTE *bitsOut = zyn_new_bits(p);
    uint64_t stride;
    zyn_dib_stride(img.width, outBits, &stride);
    for (LONG y = 0; y < img.height; y++) {
        const BYTE *s = img.bits + (size_t)y * img.stride;
        BYTE *d = bitsOut + (size_t)y * stride;
        if (img.bitCount < 24) zyn_unpack_indices(s, img.bitCount, img.width, index);
        if (outColors)
            write_indices(index, img.width, bits, d);
        else
            write_true_color(img.bitCount < 24 ? index : nullptr, s, img.width, img.table, img.colors, bits, d);
    }
    free(index);
    GlobalUnlock(out);
    zyn_image_close(&img);
    return out;
}
