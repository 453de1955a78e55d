#include "codecs/tga/tga_rle.h"

#include <string.h>

/* Writes n copies of a pixel.  The common sizes get their own loops: this
   is where a run-length image spends its time. */
static void fill_pixels(BYTE *dst, const BYTE *pixel, size_t n, unsigned bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1: memset(dst, pixel[0], n); return;
        case 3: {
            BYTE b = pixel[0], g = pixel[1], r = pixel[2];
            for (size_t i = 0; i < n; i++, dst += 3) {
                dst[0] = b;
                dst[1] = g;
                dst[2] = r;
            }
            return;
        }
        case 4: {
            DWORD v;
            memcpy(&v, pixel, 4);
            for (size_t i = 0; i < n; i++, dst += 4) memcpy(dst, &v, 4);
            return;
        }
        default:
            for (size_t i = 0; i < n; i++, dst += bytesPerPixel) memcpy(dst, pixel, bytesPerPixel);
    }
}

int tga_rle_decode(TgaRleState *state, ByteSource *src, BYTE *dst, size_t pixels,
                                unsigned bytesPerPixel) {
    while (pixels) {
        if (state->left == 0) {
            BYTE head = bs_u8(src);
            if (src->overrun) return 0;
            state->left = (size_t)(head & 0x7F) + 1;
            state->repeat = (head & 0x80) != 0;
            if (state->repeat && !bs_read(src, state->pixel, bytesPerPixel)) return 0;
        }
        size_t n = state->left < pixels ? state->left : pixels;
        size_t bytes = n * bytesPerPixel;
        if (state->repeat) {
            fill_pixels(dst, state->pixel, n, bytesPerPixel);
        } else {
            const BYTE *literal = bs_take(src, bytes);
            if (!literal) return 0;
            memcpy(dst, literal, bytes);
        }
        dst += bytes;
        state->left -= n;
        pixels -= n;
    }
    return 1;
}

static int same_pixel(const BYTE *a, const BYTE *b, unsigned bytesPerPixel) {
    return memcmp(a, b, bytesPerPixel) == 0;
}

/* Length of the run of equal pixels starting at `at`, at most `limit`. */
static size_t run_length(const BYTE *row, size_t at, size_t limit, unsigned bytesPerPixel) {
    const BYTE *first = row + at * bytesPerPixel;
    size_t n = 1;
    while (n < limit && same_pixel(first, first + n * bytesPerPixel, bytesPerPixel)) n++;
    return n;
}

/* A run packet pays for itself at two equal pixels of two bytes or more;
   for one-byte pixels it needs three, or a literal stretch breaks for
   nothing. */
static size_t shortest_run(unsigned bytesPerPixel) { return bytesPerPixel == 1 ? 3 : 2; }

void tga_rle_encode(ByteSink *sink, const BYTE *row, size_t pixels, unsigned bytesPerPixel) {
    const size_t minRun = shortest_run(bytesPerPixel);
    size_t at = 0;
    while (at < pixels) {
        size_t limit = pixels - at < 128 ? pixels - at : 128;
        size_t run = run_length(row, at, limit, bytesPerPixel);
        if (run >= minRun) {
            sink_u8(sink, (BYTE)(0x80 | (run - 1)));
            sink_bytes(sink, row + at * bytesPerPixel, bytesPerPixel);
            at += run;
            continue;
        }
        size_t start = at;
        at += run;
        while (at < pixels && at - start < 128) {
            size_t room = pixels - at < minRun ? pixels - at : minRun;
            size_t next = run_length(row, at, room, bytesPerPixel);
            if (next >= minRun) break;
            at += next;
        }
        if (at - start > 128) at = start + 128;
        sink_u8(sink, (BYTE)(at - start - 1));
        sink_bytes(sink, row + start * bytesPerPixel, (at - start) * bytesPerPixel);
    }
}
