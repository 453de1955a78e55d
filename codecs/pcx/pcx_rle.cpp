#include "codecs/pcx/pcx_rle.h"

#include <stdint.h>
#include <string.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

/* The fast path looks at a window of plain bytes at once: it copies the
   whole window and keeps the part in front of the first count byte. */
#ifdef __SSE2__
static const size_t WINDOW = 16;

/* Bit i set when byte i of the window is a count (0xC0 or more). */
static inline unsigned count_mask(const BYTE *p, BYTE *o) {
    __m128i v = _mm_loadu_si128((const __m128i *)p);
    _mm_storeu_si128((__m128i *)o, v);
    return (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8((char)0xC0)), v));
}

static inline unsigned first_count(unsigned mask) { return (unsigned)__builtin_ctz(mask); }
#else
static const size_t WINDOW = 8;

/* Bit 7 of byte i set when byte i has both top bits set: shifting by one
   brings bit 6 of every byte under its bit 7. */
static inline uint64_t count_mask(const BYTE *p, BYTE *o) {
    uint64_t v;
    memcpy(&v, p, 8);
    memcpy(o, &v, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    return v & (v << 1) & 0x8080808080808080ull;
}

static inline unsigned first_count(uint64_t mask) { return (unsigned)__builtin_ctzll(mask) >> 3; }
#endif

/* Fills count bytes of v at o, room bytes being there; short runs (the
   common case) are two plain stores, the bytes past count being
   overwritten later. */
static inline void fill_run(BYTE *o, size_t room, BYTE v, size_t count) {
    if (count <= 16 && room >= 16) {
        uint64_t w = 0x0101010101010101ull * v;
        memcpy(o, &w, 8);
        memcpy(o + 8, &w, 8);
    } else {
        memset(o, v, count);
    }
}

PcxLineResult pcx_expand_line(ByteSource *s, BYTE *line, size_t n) {
    const BYTE *p = s->data + s->pos, *end = s->data + s->size;
    BYTE *o = line, *const oEnd = line + n;
    PcxLineResult result = PCX_LINE_OK;
    while (o < oEnd) {
        if ((size_t)(oEnd - o) >= WINDOW && (size_t)(end - p) >= WINDOW) {
            auto counts = count_mask(p, o);
            if (!counts) {
                o += WINDOW;
                p += WINDOW;
                continue;
            }
            unsigned plain = first_count(counts);
            o += plain;
            p += plain;
        }
        if (p == end) {
            result = PCX_LINE_SHORT;
            break;
        }
        BYTE b = *p;
        if (b < 0xC0) {
            *o++ = b;
            p++;
            continue;
        }
        if (end - p < 2) {
            p = end;
            result = PCX_LINE_SHORT;
            break;
        }
        size_t count = b & 0x3F, room = (size_t)(oEnd - o);
        if (count > room) {
            count = room;
            result = PCX_LINE_CUT;
        }
        fill_run(o, room, p[1], count);
        p += 2;
        o += count;
    }
    s->pos = (size_t)(p - s->data);
    if (result == PCX_LINE_SHORT) s->overrun = 1;
    return result;
}

size_t pcx_encode(const BYTE *in, size_t n, BYTE *out) {
    BYTE *o = out;
    size_t i = 0;
    while (i < n) {
        BYTE v = in[i];
        size_t run = 1;
        while (i + run < n && run < 63 && in[i + run] == v) run++;
        if (run > 1 || v >= 0xC0) *o++ = (BYTE)(0xC0 | run);
        *o++ = v;
        i += run;
    }
    return (size_t)(o - out);
}
