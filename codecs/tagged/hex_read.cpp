/* HEX reader: tags (WIDTH, HEIGHT, BITSPERPIXEL, COLORMAP) in any order and
   letter case, each followed by its data type and values, then IMAGE and
   the rows, top row first, as hexadecimal or binary digits. */
#include <ctype.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tagged/tagged.h"
#include "codecs/tagged/load_info.h"
#include "codecs/tagged/text_out.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

/* Values past this are saturated; any of them is far beyond a DIB. */
#define HEX_NUMBER_LIMIT 0x7FFFFFFFL

enum HexTag { TAG_WIDTH, TAG_HEIGHT, TAG_BITSPERPIXEL, TAG_COLORMAP, TAG_IMAGE, TAG_COUNT };

typedef struct HexHeader {
    long width, height; /* 0 while the tag is missing */
    long bits;
    int haveMap;
    RGBQUAD map[256];
    char imageType; /* 'H' or 'B' once IMAGE is reached */
} HexHeader;

static int peek(const ByteSource *s) { return s->pos < s->size ? s->data[s->pos] : -1; }
static int is_white(int c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

/* White space and comments; an empty line (a second carriage return)
   ends the stretch. */
static void skip_white(ByteSource *s) {
    int returns = 0;
    for (;;) {
        int c = peek(s);
        if (c == ';') {
            while ((c = peek(s)) >= 0 && c != '\n' && c != '\r') s->pos++;
            continue;
        }
        if (c < 0 || !is_white(c)) return;
        s->pos++;
        if (c == '\r' && ++returns == 2) return;
    }
}

/* The next tag, or -1 after reporting. */
static int read_tag(ByteSource *s) {
    char word[128];
    size_t n = 0;
    skip_white(s);
    int c;
    while ((c = peek(s)) >= 0 && !is_white(c)) {
        if (n < sizeof word - 1) word[n] = (char)toupper(c);
        n++;
        s->pos++;
    }
    if (n == 0 || n >= 51) return codec_error(IDS_HEX_BAD_TAG_NAME), -1;
    word[n] = '\0';
    for (int tag = 0; tag < TAG_COUNT; tag++) {
        char name[32];
        text_load(IDS_HEX_TAG_WIDTH + tag, name, sizeof name);
        if (strcmp(word, name) == 0) return tag;
    }
    return codec_error(IDS_HEX_BAD_TAG), -1;
}

/* The data type letter; a decimal digit stays in place and means decimal.
   0 after reporting. */
static char read_type(ByteSource *s) {
    skip_white(s);
    int c = peek(s);
    if (c >= '0' && c <= '9') return 'D';
    if (c == 'B' || c == 'O' || c == 'D' || c == 'H') {
        s->pos++;
        return (char)c;
    }
    return codec_error(IDS_HEX_BAD_DATA_TYPE), 0;
}

static int digit_value(int c, char type) {
    int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
    int base = type == 'B' ? 2 : type == 'D' ? 10 : 16;
    return v < base ? v : -1;
}

/* One number of the type, white space around it skipped.  0 when there is
   no digit. */
static int read_number(ByteSource *s, char type, long *value) {
    skip_white(s);
    int base = type == 'B' ? 2 : type == 'D' ? 10 : 16;
    long v = 0;
    int digits = 0, d;
    while (peek(s) >= 0 && (d = digit_value(peek(s), type)) >= 0) {
        v = v > (HEX_NUMBER_LIMIT - d) / base ? HEX_NUMBER_LIMIT : v * base + d;
        digits++;
        s->pos++;
    }
    skip_white(s);
    *value = v;
    return digits > 0;
}

/* A positive value for WIDTH, HEIGHT or BITSPERPIXEL; 0 after reporting. */
static int read_positive(ByteSource *s, UINT badValue, long *value) {
    char type = read_type(s);
    if (!type) return 0;
    if (type == 'O') return codec_error(IDS_HEX_NO_OCTAL), 0;
    if (!read_number(s, type, value) || *value <= 0) return codec_error(badValue), 0;
    return 1;
}

static int read_colormap(ByteSource *s, HexHeader *h) {
    if (h->bits == 24) return codec_error(IDS_HEX_PALETTE_IN_24BIT), 0;
    char type = read_type(s);
    if (!type) return 0;
    if (type == 'O') return codec_error(IDS_HEX_NO_OCTAL), 0;
    memset(h->map, 0, sizeof h->map);
    for (long i = 0; i < (1L << h->bits); i++) {
        long rgb[3];
        for (int k = 0; k < 3; k++)
            if (!read_number(s, type, &rgb[k])) return codec_error(IDS_HEX_BAD_PALETTE_COLOR), 0;
        h->map[i].rgbRed = (BYTE)rgb[0];
        h->map[i].rgbGreen = (BYTE)rgb[1];
        h->map[i].rgbBlue = (BYTE)rgb[2];
    }
    h->haveMap = 1;
    return 1;
}

static int read_tag_values(ByteSource *s, int tag, HexHeader *h) {
    switch (tag) {
        case TAG_WIDTH: return read_positive(s, IDS_HEX_BAD_WIDTH, &h->width);
        case TAG_HEIGHT: return read_positive(s, IDS_HEX_BAD_HEIGHT, &h->height);
        case TAG_BITSPERPIXEL:
            if (!read_positive(s, IDS_HEX_BAD_BITSPERPIXEL, &h->bits)) return 0;
            if (h->bits != 1 && h->bits != 4 && h->bits != 8 && h->bits != 24)
                return codec_error(IDS_HEX_BITSPERPIXEL_VALUES), 0;
            return 1;
        case TAG_COLORMAP: return read_colormap(s, h);
        default: {
            char type = read_type(s);
            if (!type) return 0;
            if (type == 'O' || type == 'D') return codec_error(IDS_HEX_NO_OCTAL), 0;
            h->imageType = type;
            return 1;
        }
    }
}

/* Tags up to and including IMAGE; 0 after reporting. */
static int read_tags(ByteSource *s, HexHeader *h) {
    memset(h, 0, sizeof *h);
    h->bits = 8;
    while (!h->imageType) {
        int tag = read_tag(s);
        if (tag < 0 || !read_tag_values(s, tag, h)) return 0;
    }
    if (!h->width) return codec_error(IDS_HEX_MISSING_WIDTH), 0;
    if (!h->height) return codec_error(IDS_HEX_MISSING_HEIGHT), 0;
    return 1;
}

/* The next data digit of the type, white space skipped; -1 for anything
   else, the end of the file included. */
static int next_digit(ByteSource *s, char type) {
    int c;
    while ((c = peek(s)) >= 0 && is_white(c)) s->pos++;
    if (c < 0) return -1;
    s->pos++;
    return digit_value(c, type);
}

static int read_hex_row(ByteSource *s, BYTE *row, size_t bytes) {
    for (size_t i = 0; i < bytes; i++) {
        int high = next_digit(s, 'H');
        int low = high < 0 ? -1 : next_digit(s, 'H');
        if (low < 0) return codec_error(IDS_HEX_BAD_HEX_DATA), 0;
        row[i] = (BYTE)(high << 4 | low);
    }
    return 1;
}

/* width x bits digits, most significant bit first; a final partial byte
   is stored as it stands (its bits are not moved up). */
static int read_binary_row(ByteSource *s, BYTE *row, size_t bits) {
    unsigned acc = 0;
    for (size_t i = 0; i < bits; i++) {
        int d = next_digit(s, 'B');
        if (d < 0) return codec_error(IDS_HEX_BAD_BINARY_DATA), 0;
        acc = acc << 1 | (unsigned)d;
        if ((i & 7) == 7) {
            row[i / 8] = (BYTE)acc;
            acc = 0;
        }
    }
    if (bits & 7) row[bits / 8] = (BYTE)acc;
    return 1;
}

static void fill_table(const HexHeader *h, RGBQUAD *table) {
    int count = 1 << h->bits;
    for (int i = 0; i < count; i++) {
        if (h->haveMap) {
            table[i] = h->map[i];
        } else {
            BYTE v = (BYTE)(h->bits == 1 ? i * 255 : h->bits == 4 ? i * 17 : i);
            table[i].rgbRed = table[i].rgbGreen = table[i].rgbBlue = v;
        }
    }
}

static int read_rows(ByteSource *s, const HexHeader *h, DibParts *d) {
    size_t rowBits = (size_t)d->width * (size_t)h->bits;
    for (LONG y = 0; y < d->height; y++) {
        codec_row_done();
        BYTE *row = dib_row_from_top(d, y);
        int ok = h->imageType == 'H' ? read_hex_row(s, row, (rowBits + 7) / 8) : read_binary_row(s, row, rowBits);
        if (!ok) return 0;
        if ((y & 15) == 15 || y == d->height - 1) load_panel_step((DWORD)y + 1);
    }
    return 1;
}

/* Every row byte takes two hexadecimal digits, every pixel bit one binary
   digit.  Checked before the DIB is allocated, so a short file cannot claim
   a huge image; it fails as its last row would. */
static int data_can_hold_rows(const ByteSource *s, const HexHeader *h, LONG width, LONG height) {
    uint64_t bits = (uint64_t)width * (uint64_t)h->bits;
    uint64_t perRow = h->imageType == 'H' ? (bits + 7) / 8 * 2 : bits;
    if (perRow * (uint64_t)height <= bs_remaining(s)) return 1;
    return codec_error(h->imageType == 'H' ? IDS_HEX_BAD_HEX_DATA : IDS_HEX_BAD_BINARY_DATA), 0;
}

extern "C" int HexDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    ByteSource s;
    bs_init(&s, data, size);
    HexHeader h;
    if (!read_tags(&s, &h)) return 0;
    WORD bits = (WORD)h.bits;
    DWORD colors = bits == 24 ? 0 : 1u << bits;
    LONG width = h.width > LC_MAX_DIMENSION ? LC_MAX_DIMENSION + 1 : (LONG)h.width;
    LONG height = h.height > LC_MAX_DIMENSION ? LC_MAX_DIMENSION + 1 : (LONG)h.height;
    if (!dib_size_ok(width, height, bits, colors, NULL)) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!data_can_hold_rows(&s, &h, width, height)) return 0;
    load_panel_begin_progress(0, (DWORD)height);
    tagged_load_info(bits);
    BITMAPINFOHEADER info;
    DibParts d;
    if (!MakeDibHeader(&info, width, height, bits, colors) ||
        !dib_create(width, height, bits, colors, &d))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (colors) fill_table(&h, d.colors);
    if (!read_rows(&s, &h, &d)) {
        dib_discard(&d);
        return 0;
    }
    dib_close(&d);
    *out = d.handle;
    return 1;
}

extern "C" int WINAPI HexLoad(LPSTR path, HGLOBAL *out) {
    return codec_load_whole_file(path, out, IDS_FMT_NO_MEMORY_LOAD, HexDecode);
}
