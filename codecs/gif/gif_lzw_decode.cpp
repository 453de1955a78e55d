/* LZW decoding of one GIF image.

   Every string the decoder knows has been written out once already, so a
   table entry is just (where it was written, its length): a new entry is
   the previous string plus one pixel, and that pixel is the first of the
   string written right after it, so the new string lies contiguous in the
   output too.  Decoding a code is then one short copy instead of a walk
   down a prefix chain.  The single pixels sit in a 256-byte block in front
   of the image so literals are entries like any other.

   Length 0 marks every code that is not a plain string (clear, end, codes
   not yet assigned, literals past the color table), so the common case
   costs one table look-up and one test. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/checked.h"
#include "codecs/common/file_view.h"
#include "codecs/gif/gif_lzw.h"

namespace {

const uint32_t LITERAL_BYTES = 256;
/* Strings are copied in 16-byte steps; the bytes past a string's end are
   scratch that the following strings overwrite. */
const uint32_t COPY_SLACK = 16;

struct Decoder {
    /* code stream */
    const BYTE *data;
    uint64_t bitPos, bitLimit;
    int truncated;
    /* code table */
    unsigned minCodeSize, clear, end, next, limit, width, mask;
    uint32_t offset[GIF_MAX_CODES];
    uint16_t length[GIF_MAX_CODES];
    /* output: literal block, then rows of target->width pixels */
    BYTE *out;
    uint32_t pos, rowStart, rowEnd, row;
    const GifPixelTarget *target;
};

/* The pixel buffer is as large as the image: codec_scratch_alloc gives
   it huge pages where it can.  It starts zeroed. */

inline void copy_string(BYTE *dst, const BYTE *src, uint32_t n) {
    for (;;) {
        BYTE step[16];
        memcpy(step, src, 16);
        memcpy(dst, step, 16);
        if (n <= 16) return;
        n -= 16;
        dst += 16;
        src += 16;
    }
}

/* 0 when the stream has no whole code left. */
inline int read_code(Decoder *d, unsigned *code) {
    if (d->bitPos + d->width > d->bitLimit) return 0;
    const BYTE *p = d->data + (d->bitPos >> 3); /* the padding covers p[1..3] */
    uint32_t v = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
    *code = (v >> (d->bitPos & 7)) & d->mask;
    d->bitPos += d->width;
    return 1;
}

void reset_table(Decoder *d) {
    for (unsigned c = d->clear + 2; c < d->next; c++) d->length[c] = 0;
    d->next = d->clear + 2;
    d->width = d->minCodeSize + 1;
    d->limit = 1u << d->width;
    d->mask = d->limit - 1;
}

void init_table(Decoder *d, unsigned minCodeSize, unsigned colors) {
    d->minCodeSize = minCodeSize;
    d->clear = 1u << minCodeSize;
    d->end = d->clear + 1;
    memset(d->length, 0, sizeof d->length);
    for (unsigned c = 0; c < d->clear && c < colors && c < LITERAL_BYTES; c++) {
        d->offset[c] = c;
        d->length[c] = 1;
    }
    d->next = d->clear + 2;
    reset_table(d);
}

inline void add_entry(Decoder *d, uint32_t prevPos, uint32_t prevLen) {
    if (d->next >= GIF_MAX_CODES) return;
    d->offset[d->next] = prevPos;
    d->length[d->next] = (uint16_t)(prevLen + 1);
    d->next++;
    if (d->next >= d->limit && d->limit < GIF_MAX_CODES) {
        d->width++;
        d->limit <<= 1;
        d->mask = d->limit - 1;
    }
}

/* Hands out every row that pos has completed; 1 when that was the last. */
int rows_reached(Decoder *d) {
    const GifPixelTarget *t = d->target;
    while (d->pos >= d->rowEnd) {
        t->row_done(t->context, d->row, d->out + d->rowStart, 1);
        if (++d->row == t->rows) return 1;
        d->rowStart = d->rowEnd;
        d->rowEnd += t->width;
    }
    return 0;
}

/* The end code came before the last row: what there is of the current row
   goes out with the rest of it 0. */
GifLzwResult end_early(Decoder *d) {
    if (d->pos > d->rowStart) {
        memset(d->out + d->pos, 0, d->rowEnd - d->pos);
        d->target->row_done(d->target->context, d->row, d->out + d->rowStart, 0);
    }
    return GIF_LZW_DONE;
}

GifLzwResult out_of_data(const Decoder *d) { return d->truncated ? GIF_LZW_TRUNCATED : GIF_LZW_OUT_OF_DATA; }

/* Writes string (src, len) at pos, cut at the end of the image.  A string
   whose code is the one being defined (selfRef) is the previous string
   plus its own first pixel. */
inline uint32_t put_string(Decoder *d, uint32_t src, uint32_t len, int selfRef, uint32_t imageEnd) {
    uint32_t n = len;
    if (n > imageEnd - d->pos) n = imageEnd - d->pos;
    BYTE *dst = d->out + d->pos;
    if (!selfRef) {
        copy_string(dst, d->out + src, n);
    } else {
        copy_string(dst, d->out + src, n < len ? n : len - 1);
        if (n == len) dst[len - 1] = d->out[src];
    }
    return n;
}

GifLzwResult run(Decoder *d) {
    const uint32_t imageEnd = LITERAL_BYTES + d->target->width * d->target->rows;
    unsigned code;
    uint32_t prevPos, prevLen;
start:
    /* After a clear (and at the start) the first code is a single pixel. */
    for (;;) {
        if (!read_code(d, &code)) return out_of_data(d);
        if (code == d->clear) {
            reset_table(d);
            continue;
        }
        if (code == d->end) return end_early(d);
        if (code >= d->clear || d->length[code] == 0) return GIF_LZW_BAD_CODE;
        break;
    }
    prevPos = d->pos;
    prevLen = 1;
    d->out[d->pos++] = (BYTE)code;
    if (d->pos >= d->rowEnd && rows_reached(d)) return GIF_LZW_DONE;

    for (;;) {
        if (!read_code(d, &code)) return out_of_data(d);
        uint32_t len = d->length[code], src;
        int selfRef = 0;
        if (len != 0) {
            src = d->offset[code];
        } else if (code == d->clear) {
            reset_table(d);
            goto start;
        } else if (code == d->end) {
            return end_early(d);
        } else if (code == d->next) {
            src = prevPos;
            len = prevLen + 1;
            selfRef = 1;
        } else {
            return GIF_LZW_BAD_CODE; /* beyond the next free code, or a color past the table */
        }
        uint32_t written;
        if (len < d->rowEnd - d->pos && !selfRef) {
            copy_string(d->out + d->pos, d->out + src, len);
            written = len;
        } else {
            written = put_string(d, src, len, selfRef, imageEnd);
        }
        add_entry(d, prevPos, prevLen);
        prevPos = d->pos;
        prevLen = len;
        d->pos += written;
        if (d->pos >= d->rowEnd && rows_reached(d)) return GIF_LZW_DONE;
    }
}

}  // namespace

GifLzwResult gif_lzw_decode(const GifCodeStream *codes, int minCodeSize, unsigned colors,
                            const GifPixelTarget *target) {
    uint64_t pixels, bytes;
    size_t size;
    if (minCodeSize < 1 || minCodeSize > GIF_MAX_BITS - 1) return GIF_LZW_BAD_CODE;
    if (!lc_mul_u64(target->width, target->rows, &pixels) || pixels == 0 ||
        !lc_add_u64(pixels, LITERAL_BYTES + COPY_SLACK, &bytes) || bytes > 0xFFFFFFFFull ||
        !lc_to_size(bytes, &size))
        return GIF_LZW_NO_MEMORY;
    Decoder *d = (Decoder *)malloc(sizeof(Decoder));
    /* Zeroed, so no byte the copies read is ever undefined. */
    BYTE *out = (BYTE *)codec_scratch_alloc(size);
    if (!d || !out) {
        free(d);
        codec_scratch_free(out, size);
        return GIF_LZW_NO_MEMORY;
    }
    for (uint32_t i = 0; i < LITERAL_BYTES; i++) out[i] = (BYTE)i;
    d->data = codes->bytes;
    d->bitPos = 0;
    d->bitLimit = (uint64_t)codes->size * 8;
    d->truncated = codes->truncated;
    init_table(d, (unsigned)minCodeSize, colors);
    d->out = out;
    d->pos = d->rowStart = LITERAL_BYTES;
    d->rowEnd = LITERAL_BYTES + target->width;
    d->row = 0;
    d->target = target;
    GifLzwResult result = run(d);
    codec_scratch_free(out, size);
    free(d);
    return result;
}
