// Mirror: each row reversed.  1- and 4-bit rows reverse their bytes, then
// their bits or nibbles, and an odd fill of the last byte is shifted out
// to the left: by (-width) mod 8 bits for 1 bit, by half a byte for an odd
// 4-bit width (shifting nothing there would lose pixel 0).
#include <stdlib.h>
#include <string.h>

#include "ops_internal.h"

namespace {

struct BitReversal {
    BYTE table[256];
    BitReversal() {
        for (int i = 0; i < 256; i++) {
            BYTE r = 0;
            for (int b = 0; b < 8; b++)
                if (i & (1 << b)) r |= (BYTE)(0x80 >> b);
            table[i] = r;
        }
    }
};

const BitReversal kReversed;

// Shifts the first bytes bytes of row left by bits (1..7), pulling in the
// next byte only while it is one of them.
void shift_left(BYTE *row, size_t bytes, unsigned bits) {
    for (size_t i = 0; i < bytes; i++) {
        BYTE next = i + 1 < bytes ? row[i + 1] : 0;
        row[i] = (BYTE)((row[i] << bits) | (next >> (8 - bits)));
    }
}

void mirror_packed(const BYTE *s, BYTE *d, LONG width, WORD bits) {
    size_t bytes = ((size_t)bits * (size_t)width + 7) / 8;
    for (size_t i = 0; i < bytes; i++) {
        BYTE b = s[bytes - 1 - i];
        d[i] = bits == 1 ? kReversed.table[b] : (BYTE)((b << 4) | (b >> 4));
    }
    unsigned spare = (unsigned)(bytes * 8 - (size_t)bits * (size_t)width);
    if (spare) shift_left(d, bytes, spare);
}

}  // namespace

extern "C" void img_mirror_row(const BYTE *s, BYTE *d, LONG width, WORD bits) {
    size_t n = (size_t)width;
    switch (bits) {
        case 8:
            for (size_t x = 0; x < n; x++) d[x] = s[n - 1 - x];
            break;
        case 24:
            for (size_t x = 0; x < n; x++) {
                const BYTE *p = s + (n - 1 - x) * 3;
                d[x * 3] = p[0], d[x * 3 + 1] = p[1], d[x * 3 + 2] = p[2];
            }
            break;
        case 32:
            for (size_t x = 0; x < n; x++) memcpy(d + x * 4, s + (n - 1 - x) * 4, 4);
            break;
        default: mirror_packed(s, d, width, bits);
    }
}

extern "C" int img_mirror(HGLOBAL dib, HGLOBAL *out) {
    *out = nullptr;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    ImgTarget dst;
    status = img_target_like(&src, src.width, src.height, &dst);
    if (status == IMG_OK) {
        for (LONG y = 0; y < src.height; y++)
            img_mirror_row(img_source_row(&src, y), img_target_row(&dst, y), src.width, src.bitCount);
        status = img_target_finish(&dst, out);
    }
    img_source_close(&src);
    return status;
}

// Each row copied into a buffer and mirrored back into its place.
extern "C" int img_mirror_in_place(HGLOBAL dib) {
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    BYTE *row = static_cast<BYTE *>(malloc(src.stride));
    bool ok = row != nullptr;
    if (ok) {
        BYTE *bits = const_cast<BYTE *>(src.bits);
        for (LONG y = 0; y < src.height; y++) {
            BYTE *line = bits + (size_t)y * src.stride;
            memcpy(row, line, src.stride);
            img_mirror_row(row, line, src.width, src.bitCount);
        }
    }
    free(row);
    img_source_close(&src);
    return ok ? IMG_OK : IMG_NO_MEMORY;
}
