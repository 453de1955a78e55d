// The RLE8 and RLE4 row encoders.  The byte sequences are fixed (files
// written by the program must come out the same every time), so the rules
// here follow the documented choices exactly.
#include <string.h>

#include "rle_internal.h"

namespace {

const size_t kMaxRun8 = 255;
const size_t kMaxRun4Bytes = 127;  // two pixels a byte: 254 pixels at most

void put(ZynRleOut *out, BYTE b) {
    if (out->used < out->capacity)
        out->data[out->used++] = b;
    else
        out->overflow = 1;
}

void put_pair(ZynRleOut *out, BYTE a, BYTE b) {
    put(out, a);
    put(out, b);
}

void put_bytes(ZynRleOut *out, const BYTE *p, size_t n) {
    if (n > out->capacity - out->used) {
        out->overflow = 1;
        return;
    }
    memcpy(out->data + out->used, p, n);
    out->used += n;
}

bool three_equal(const BYTE *p) { return p[0] == p[1] && p[1] == p[2]; }

size_t equal_run(const BYTE *p, size_t left, size_t limit) {
    size_t n = 1;
    while (n < left && n < limit && p[n] == p[0]) n++;
    return n;
}

// An absolute run of `count` bytes, announced as `announced` units, padded
// to an even byte count.
void put_absolute(ZynRleOut *out, const BYTE *p, size_t count, size_t announced) {
    put_pair(out, 0, (BYTE)announced);
    put_bytes(out, p, count);
    if (count & 1) put(out, 0);
}

}  // namespace

extern "C" size_t zyn_rle_row_bound(size_t stride) {
    // Every byte costs at most two (a single byte as (1, v) or (2, v), an
    // absolute run of k >= 3 bytes at most k + 3 <= 2k), the odd last pixel
    // of RLE4 two more, and the end of line two.
    return 2 * stride + 4;
}

extern "C" void zyn_rle8_encode_row(const BYTE *row, size_t stride, ZynRleOut *out) {
    size_t i = 0;
    while (i < stride) {
        size_t run = equal_run(row + i, stride - i, kMaxRun8);
        if (run >= 3) {
            put_pair(out, (BYTE)run, row[i]);
            i += run;
            continue;
        }
        // Gather literally until three equal bytes begin (a check that
        // needs three bytes left) or 255 are gathered.
        size_t j = i;
        while (j < stride && j - i < kMaxRun8) {
            if (stride - j > 2 && three_equal(row + j)) break;
            j++;
        }
        size_t count = j - i;
        if (count >= 3) {
            put_absolute(out, row + i, count, count);
        } else {
            for (size_t k = 0; k < count; k++) put_pair(out, 1, row[i + k]);
        }
        i = j;
    }
    put_pair(out, 0, 0);
}

extern "C" void zyn_rle4_encode_row(const BYTE *row, size_t width, ZynRleOut *out) {
    const size_t bytes = width / 2;  // whole pairs of pixels
    size_t i = 0;
    while (bytes - i > 3) {
        if (three_equal(row + i)) {
            size_t run = equal_run(row + i, bytes - i, kMaxRun4Bytes);
            put_pair(out, (BYTE)(2 * run), row[i]);
            i += run;
            continue;
        }
        size_t j = i + 3;
        while (j < bytes && j - i < kMaxRun4Bytes) {
            if (bytes - j > 3 && three_equal(row + j)) break;
            j++;
        }
        put_absolute(out, row + i, j - i, 2 * (j - i));
        i = j;
    }
    for (; i < bytes; i++) put_pair(out, 2, row[i]);
    if (width & 1) put_pair(out, 1, row[bytes]);
    put_pair(out, 0, 0);
}

extern "C" void zyn_rle_end_bitmap(ZynRleOut *out) { put_pair(out, 0, 1); }
