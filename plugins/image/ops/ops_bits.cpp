// Bit-exact moves of packed pixels: the crop of a row from an unaligned
// left, and the placing of a row at an unaligned left (frame, tile).
#include <string.h>

#include "ops_internal.h"

extern "C" void img_bits_extract(const BYTE *src, size_t srcBit, size_t bits, BYTE *dst) {
    if (!bits) return;
    const BYTE *s = src + (srcBit >> 3);
    unsigned shift = (unsigned)(srcBit & 7);
    size_t last = (shift + bits - 1) >> 3;  // last byte of s holding a wanted bit
    size_t bytes = (bits + 7) >> 3;
    for (size_t j = 0; j < bytes; j++) {
        unsigned v = (unsigned)s[j] << shift;
        if (shift && j + 1 <= last) v |= s[j + 1] >> (8 - shift);
        dst[j] = (BYTE)v;
    }
    if (bits & 7) dst[bytes - 1] &= (BYTE)(0xFF << (8 - (bits & 7)));
}

namespace {

inline void merge(BYTE *d, unsigned value, unsigned mask) { *d = (BYTE)((*d & ~mask) | (value & mask)); }

}  // namespace

extern "C" void img_bits_insert(BYTE *dst, size_t dstBit, const BYTE *src, size_t bits) {
    BYTE *d = dst + (dstBit >> 3);
    unsigned shift = (unsigned)(dstBit & 7);
    size_t bytes = (bits + 7) >> 3;
    for (size_t j = 0; j < bytes; j++) {
        size_t valid = bits - 8 * j < 8 ? bits - 8 * j : 8;
        unsigned mask = (0xFFu << (8 - valid)) & 0xFFu;
        unsigned v = src[j] & mask;
        merge(d + j, v >> shift, mask >> shift);
        unsigned spill = (mask << (8 - shift)) & 0xFFu;
        if (shift && spill) merge(d + j + 1, v << (8 - shift), spill);
    }
}

extern "C" void img_place_row(const BYTE *src, BYTE *dst, size_t left, LONG width, WORD bits) {
    if (bits >= 8)
        memcpy(dst + left * (bits / 8), src, (size_t)width * (bits / 8));
    else
        img_bits_insert(dst, left * bits, src, (size_t)width * bits);
}
