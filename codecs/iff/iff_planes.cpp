#include "codecs/iff/iff_planes.h"

#include <stdint.h>
#include <string.h>

/* Eight pixels are handled as the eight byte lanes of one 64-bit word,
   lane j holding pixel j; a plane byte spreads into the lanes' low bits. */
static uint64_t spread[256];

static void make_spread(void) {
    for (unsigned b = 0; b < 256; b++) {
        uint64_t v = 0;
        for (unsigned j = 0; j < 8; j++) v |= (uint64_t)((b >> (7 - j)) & 1) << (8 * j);
        spread[b] = v;
    }
}

static inline void store_lanes(BYTE *out, uint64_t v) {
    for (unsigned j = 0; j < 8; j++) out[j] = (BYTE)(v >> (8 * j));
}

static inline uint64_t load_lanes(const BYTE *in) {
    uint64_t v = 0;
    for (unsigned j = 0; j < 8; j++) v |= (uint64_t)in[j] << (8 * j);
    return v;
}

void iff_planes_to_values(const BYTE *const *planes, int count, size_t rowBytes, BYTE *out) {
    if (!spread[1]) make_spread();
    for (size_t i = 0; i < rowBytes; i++) {
        uint64_t v = 0;
        for (int k = 0; k < count; k++) v |= spread[planes[k][i]] << k;
        store_lanes(out + 8 * i, v);
    }
}

void iff_values_to_planes(const BYTE *values, size_t rowBytes, BYTE *const *planes) {
    for (size_t i = 0; i < rowBytes; i++) {
        uint64_t v = load_lanes(values + 8 * i);
        /* Gathers bit k of every lane into one byte, lane 0 to bit 7: the
           products land on distinct bits, so nothing carries. */
        for (int k = 0; k < 8; k++)
            planes[k][i] = (BYTE)((((v >> k) & 0x0101010101010101ull) * 0x8040201008040201ull) >> 56);
    }
}

int iff_unpack_row(ByteSource *s, BYTE *dst, size_t n) {
    size_t at = 0;
    while (at < n) {
        if (s->pos >= s->size) return IFF_ROW_SHORT;
        BYTE c = s->data[s->pos++];
        if (c < 128) {
            size_t count = (size_t)c + 1;
            if (count > n - at) return IFF_ROW_OVERRUN;
            if (count > bs_remaining(s)) return IFF_ROW_SHORT;
            memcpy(dst + at, s->data + s->pos, count);
            s->pos += count;
            at += count;
        } else if (c > 128) {
            size_t count = 257 - (size_t)c;
            if (count > n - at) return IFF_ROW_OVERRUN;
            if (s->pos >= s->size) return IFF_ROW_SHORT;
            memset(dst + at, s->data[s->pos++], count);
            at += count;
        }
        /* 128 is a no-op. */
    }
    return IFF_ROW_OK;
}
