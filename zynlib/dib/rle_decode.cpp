// The row decoder of RLE8 and RLE4 streams.  Compressed pixel data comes
// from files, so every code is checked before a byte is written: a run or
// an absolute run must end inside the row, a delta inside the image, and
// the stream is never read past its end.
#include <string.h>

#include "rle_internal.h"

namespace {

size_t units_per_row(const ZynRleDecoder *d) { return d->nibbles ? d->stride * 2 : d->stride; }

// Pixel x of a 4-bit row: even pixels are the high nibble.
void put_nibble(BYTE *row, size_t x, BYTE value) {
    BYTE &b = row[x >> 1];
    b = (x & 1) ? (BYTE)((b & 0xF0) | (value & 0x0F)) : (BYTE)((b & 0x0F) | (value << 4));
}

void write_run(const ZynRleDecoder *d, BYTE *row, size_t x, size_t n, BYTE value) {
    if (!d->nibbles) {
        memset(row + x, value, n);
        return;
    }
    // The run takes the two nibbles of the value alternately, high first.
    BYTE both[2] = {(BYTE)(value >> 4), (BYTE)(value & 0x0F)};
    for (size_t i = 0; i < n; i++) put_nibble(row, x + i, both[i & 1]);
}

void write_absolute(const ZynRleDecoder *d, BYTE *row, size_t x, size_t n, const BYTE *from) {
    if (!d->nibbles) {
        memcpy(row + x, from, n);
        return;
    }
    for (size_t i = 0; i < n; i++) put_nibble(row, x + i, (i & 1) ? (BYTE)(from[i >> 1] & 0x0F) : (BYTE)(from[i >> 1] >> 4));
}

int take_pair(ZynRleDecoder *d, BYTE *first, BYTE *second) {
    if (d->size - d->pos < 2) return 0;
    *first = d->src[d->pos];
    *second = d->src[d->pos + 1];
    d->pos += 2;
    return 1;
}

// A delta (0, 2, dx, dy) moves right dx pixels and up dy rows; the pixels
// passed over stay 0.  Returns -1 for a damaged delta, 0 to continue the
// row, 1 when the row is finished.
int apply_delta(ZynRleDecoder *d, size_t *x) {
    BYTE dx, dy;
    if (!take_pair(d, &dx, &dy)) return -1;
    if (*x + dx > units_per_row(d) || dy > d->rowsLeft) return -1;
    *x += dx;
    if (dy == 0) return 0;
    d->blankRows = (size_t)dy - 1;
    d->startUnit = *x;
    return 1;
}

// An absolute run of n pixels; its bytes are padded to an even count.
int copy_absolute(ZynRleDecoder *d, BYTE *row, size_t *x, size_t n) {
    size_t bytes = d->nibbles ? (n + 1) / 2 : n;
    if (*x + n > units_per_row(d) || d->size - d->pos < bytes) return 0;
    write_absolute(d, row, *x, n, d->src + d->pos);
    d->pos += bytes;
    *x += n;
    // The pad byte of an odd count may be missing at the very end.
    if ((bytes & 1) && d->pos < d->size) d->pos++;
    return 1;
}

}  // namespace

extern "C" void zyn_rle_decoder_init(ZynRleDecoder *d, const BYTE *src, size_t size, int nibbles, size_t stride,
                                     size_t rows) {
    memset(d, 0, sizeof *d);
    d->src = src;
    d->size = src ? size : 0;
    d->nibbles = nibbles;
    d->stride = stride;
    d->rowsLeft = rows;
}

extern "C" int zyn_rle_decode_row(ZynRleDecoder *d, BYTE *row) {
    memset(row, 0, d->stride);
    if (d->rowsLeft == 0) return 0;
    d->rowsLeft--;  // from here: the rows above this one
    if (d->ended) return 1;
    if (d->blankRows) {
        d->blankRows--;
        return 1;
    }
    size_t x = d->startUnit;
    d->startUnit = 0;
    const size_t units = units_per_row(d);
    for (;;) {
        BYTE n, v;
        if (!take_pair(d, &n, &v)) return 0;  // the stream ends inside a row
        if (n) {
            if (x + n > units) return 0;
            write_run(d, row, x, n, v);
            x += n;
            continue;
        }
        switch (v) {
        case 0:  // end of line
            return 1;
        case 1:  // end of bitmap: this row and all above stay as they are
            d->ended = 1;
            return 1;
        case 2: {
            int r = apply_delta(d, &x);
            if (r < 0) return 0;
            if (r > 0) return 1;
            break;
        }
        default:
            if (!copy_absolute(d, row, &x, v)) return 0;
            break;
        }
    }
}
