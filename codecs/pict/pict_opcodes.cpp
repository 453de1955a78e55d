/* The opcode walk: lengths of the QuickDraw picture opcodes as published
   for version 1 and 2 pictures, and the skipping of everything that is not
   a bitmap. */
#include "codecs/common/codec_report.h"
#include "codecs/pict/pict_internal.h"
#include "core/messages.h"
#include "lumacast_strings.h"

/* Table entries that are not a fixed byte count. */
enum {
    LEN_WORD = -1,      /* a 16-bit length, then that many bytes */
    LEN_REGION = -2,    /* region or polygon: its 16-bit size counts itself */
    LEN_LONG_TEXT = -3, /* point, count byte, text */
    LEN_DH_TEXT = -4,   /* one offset byte, count byte, text */
    LEN_DHDV_TEXT = -5, /* two offset bytes, count byte, text */
    LEN_PIXPAT = -6,
    LEN_BITS = -7,
    LEN_COMMENT = -8,   /* kind, 16-bit size, data */
    LEN_VERSION = -9,
    LEN_INVALID = -10
};

#define R4(v) v, v, v, v
#define R5(v) v, v, v, v, v
#define R8(v) R4(v), R4(v)

/* Opcodes 0x00 to 0xA1. */
static const signed char opcodeLength[0xA2] = {
    0, LEN_REGION, 8, 2, 1, 2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4,            /* 00-0F */
    8, LEN_VERSION, LEN_PIXPAT, LEN_PIXPAT, LEN_PIXPAT, 2, 2, 0,        /* 10-17 */
    0, 0, 6, 6, 0, 6, 0, 6,                                              /* 18-1F */
    8, 4, 6, 2, R4(LEN_WORD),                                            /* 20-27 */
    LEN_LONG_TEXT, LEN_DH_TEXT, LEN_DH_TEXT, LEN_DHDV_TEXT, R4(LEN_WORD), /* 28-2F */
    R8(8), R8(0),                                                        /* 30-3F rect */
    R8(8), R8(0),                                                        /* 40-4F round rect */
    R8(8), R8(0),                                                        /* 50-5F oval */
    R8(12), R8(4),                                                       /* 60-6F arc */
    R8(LEN_REGION), R8(0),                                               /* 70-7F polygon */
    R8(LEN_REGION), R8(0),                                               /* 80-8F region */
    LEN_BITS, LEN_BITS, R4(LEN_WORD), LEN_WORD, LEN_WORD,                /* 90-97 */
    LEN_BITS, LEN_BITS, LEN_BITS, LEN_BITS, R4(LEN_WORD),                /* 98-9F */
    2, LEN_COMMENT,                                                      /* A0-A1 */
};

int pict_fail(UINT id) {
    codec_error(id);
    return 0;
}

int pict_data_ok(PictParse *p) {
    if (!p->s.overrun) return 1;
    codec_error(IDS_PICT_EOF);
    return 0;
}

int pict_skip(PictParse *p, size_t n) {
    if (bs_skip(&p->s, n)) return 1;
    p->s.overrun = 1;
    return pict_data_ok(p);
}

static int skip_word_length(PictParse *p) {
    WORD n = bs_u16be(&p->s);
    return pict_data_ok(p) && pict_skip(p, n);
}

static int skip_region(PictParse *p) {
    WORD size = bs_u16be(&p->s);
    if (!pict_data_ok(p)) return 0;
    if (size < 2) return pict_fail(IDS_PICT_BAD_OPCODE);
    return pict_skip(p, (size_t)size - 2);
}

static int skip_text(PictParse *p, size_t before) {
    if (!pict_skip(p, before)) return 0;
    BYTE count = bs_u8(&p->s);
    return pict_data_ok(p) && pict_skip(p, count);
}

static int skip_long(PictParse *p) {
    DWORD n = bs_u32be(&p->s);
    return pict_data_ok(p) && pict_skip(p, n);
}

static int table_opcode(PictParse *p, unsigned opcode, int *done) {
    int length = opcodeLength[opcode];
    if (length >= 0) return pict_skip(p, (size_t)length);
    switch (length) {
        case LEN_WORD: return skip_word_length(p);
        case LEN_REGION: return skip_region(p);
        case LEN_LONG_TEXT: return skip_text(p, 4);
        case LEN_DH_TEXT: return skip_text(p, 1);
        case LEN_DHDV_TEXT: return skip_text(p, 2);
        case LEN_PIXPAT: return pict_skip_pixpat(p);
        case LEN_VERSION: return pict_skip(p, p->version == 1 ? 1 : 2);
        case LEN_COMMENT:
            return pict_skip(p, 2) && skip_word_length(p);
        case LEN_BITS:
            if (!pict_read_bits(p, opcode)) return 0;
            *done = 1;
            return 1;
        default: return pict_fail(IDS_PICT_BAD_OPCODE);
    }
}

int pict_opcode(PictParse *p, unsigned opcode, int *done) {
    if (opcode == 0x00FF) return pict_fail(IDS_PICT_NO_BITMAP);
    if (opcode < 0xA2) return table_opcode(p, opcode, done);
    /* One-byte opcodes end at the table; the rest are version 2's. */
    if (p->version == 1) return pict_fail(IDS_PICT_BAD_OPCODE);
    if (opcode <= 0xAF) return skip_word_length(p);
    if (opcode <= 0xCF) return 1;
    if (opcode <= 0xFE) return skip_long(p);
    if (opcode == 0x0C00) return pict_skip(p, 24);
    if (opcode <= 0x7FFF) return pict_skip(p, (opcode >> 7) & 0xFF);
    if (opcode <= 0x80FF) return 1;
    return skip_long(p);
}
