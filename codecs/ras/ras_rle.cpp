#include "codecs/ras/ras_rle.h"

#include <string.h>

int ras_rle_decode(RasRleState *state, ByteSource *src, BYTE *dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        if (state->left) {
            size_t take = state->left < n - done ? state->left : n - done;
            memset(dst + done, state->value, take);
            done += take;
            state->left -= take;
            continue;
        }
        /* Plain bytes up to the next escape go across in one copy. */
        const BYTE *p = src->data + src->pos;
        size_t avail = bs_remaining(src);
        size_t want = n - done < avail ? n - done : avail;
        const BYTE *escape = (const BYTE *)memchr(p, 0x80, want);
        size_t plain = escape ? (size_t)(escape - p) : want;
        if (plain) {
            memcpy(dst + done, p, plain);
            done += plain;
            src->pos += plain;
            continue;
        }
        if (!avail) return 0;
        src->pos++; /* the escape */
        BYTE count = bs_u8(src);
        if (src->overrun) return 0;
        if (count == 0) {
            dst[done++] = 0x80;
            continue;
        }
        state->value = bs_u8(src);
        if (src->overrun) return 0;
        state->left = (size_t)count + 1;
    }
    return 1;
}
