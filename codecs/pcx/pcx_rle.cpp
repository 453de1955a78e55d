#include "codecs/pcx/pcx_rle.h"

#include <stdint.h>
#include <string.h>

/* Non-zero when one of the eight bytes has both top bits set (a count):
   shifting by one brings bit 6 of every byte under its bit 7. */
static inline uint64_t has_count_byte(const BYTE *p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v & (v << 1) & 0x8080808080808080ull;
}

PcxLineResult pcx_expand_line(ByteSource *s, BYTE *line, size_t n) {
    const BYTE *p = s->data + s->pos, *end = s->data + s->size;
    BYTE *o = line, *const oEnd = line + n;
    PcxLineResult result = PCX_LINE_OK;
    while (o < oEnd) {
        /* Eight plain bytes at once while both sides have room for them. */
        if (oEnd - o >= 8 && end - p >= 8 && !has_count_byte(p)) {
            memcpy(o, p, 8);
            o += 8;
            p += 8;
            continue;
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
        size_t count = b & 0x3F;
        if (count > (size_t)(oEnd - o)) {
            count = (size_t)(oEnd - o);
            result = PCX_LINE_CUT;
        }
        BYTE v = p[1];
        p += 2;
        if (count == 1)
            *o = v;
        else
            memset(o, v, count);
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
