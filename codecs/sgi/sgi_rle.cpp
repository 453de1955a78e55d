#include "codecs/sgi/sgi_rle.h"

#include <string.h>

static inline BYTE sample16_to_8(const BYTE *p) {
    unsigned v = (unsigned)(p[0] << 8 | p[1]);
    return (BYTE)((v * 255u + 32767u) / 65535u);
}

int sgi_rle_decode_row(const BYTE *data, size_t size, unsigned bpc, BYTE *dst, size_t n) {
    size_t pos = 0, done = 0;
    for (;;) {
        if (size - pos < bpc) return 0;
        unsigned code = bpc == 1 ? data[pos] : data[pos + 1]; /* a 16-bit count uses its low byte */
        pos += bpc;
        size_t count = code & 0x7F;
        if (count == 0) return done == n;
        if (count > n - done) return 0;
        if (code & 0x80) {
            if ((size - pos) / bpc < count) return 0;
            if (bpc == 1)
                memcpy(dst + done, data + pos, count);
            else
                for (size_t i = 0; i < count; i++) dst[done + i] = sample16_to_8(data + pos + 2 * i);
            pos += count * bpc;
        } else {
            if (size - pos < bpc) return 0;
            memset(dst + done, bpc == 1 ? data[pos] : sample16_to_8(data + pos), count);
            pos += bpc;
        }
        done += count;
    }
}

size_t sgi_rle_bound(size_t n) { return n + (n + 126) / 127 + 1; }

size_t sgi_rle_encode_row(const BYTE *src, size_t n, BYTE *dst) {
    size_t out = 0, x = 0;
    while (x < n) {
        /* A run of three or more becomes a repeat packet. */
        size_t run = 1;
        while (x + run < n && run < 127 && src[x + run] == src[x]) run++;
        if (run >= 3) {
            dst[out++] = (BYTE)run;
            dst[out++] = src[x];
            x += run;
            continue;
        }
        /* Otherwise copy up to the next run of three. */
        size_t start = x, len = 0;
        while (x < n && len < 127) {
            if (x + 2 < n && src[x] == src[x + 1] && src[x] == src[x + 2]) break;
            x++;
            len++;
        }
        dst[out++] = (BYTE)(0x80 | len);
        memcpy(dst + out, src + start, len);
        out += len;
    }
    dst[out++] = 0;
    return out;
}
