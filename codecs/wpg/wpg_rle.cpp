#include "codecs/wpg/wpg_rle.h"

#include <string.h>

/* The decoder's place in the image. */
typedef struct Fill {
    BYTE *row, *previous;
    size_t rowBytes, rows, used, done;
    WpgRowProc proc;
    void *context;
} Fill;

/* Hands a full row on; 0 when the receiver stops. */
static int finish_row(Fill *f) {
    if (!f->proc(f->context, f->row, f->done)) return 0;
    memcpy(f->previous, f->row, f->rowBytes);
    f->done++;
    f->used = 0;
    return 1;
}

/* Appends n copies of v (or n bytes of src); what a code gives past the
   last row is dropped.  0 when the receiver stops. */
static int put(Fill *f, const BYTE *src, BYTE v, size_t n) {
    while (n && f->done < f->rows) {
        size_t take = f->rowBytes - f->used < n ? f->rowBytes - f->used : n;
        if (src) {
            memcpy(f->row + f->used, src, take);
            src += take;
        } else {
            memset(f->row + f->used, v, take);
        }
        f->used += take;
        n -= take;
        if (f->used == f->rowBytes && !finish_row(f)) return 0;
    }
    return 1;
}

int wpg_rle_decode(ByteSource *src, BYTE *row, BYTE *previous, size_t rowBytes, size_t rows, WpgRowProc proc,
                   void *context) {
    Fill f = {row, previous, rowBytes, rows, 0, 0, proc, context};
    while (f.done < rows) {
        BYTE code = bs_u8(src);
        if (src->overrun) return 0;
        size_t count = code & 0x7F;
        if (code & 0x80) {
            if (count) {
                BYTE v = bs_u8(src);
                if (src->overrun || !put(&f, NULL, v, count)) return 0;
            } else {
                BYTE n = bs_u8(src);
                if (src->overrun || !put(&f, NULL, 0xFF, n)) return 0;
            }
        } else if (count) {
            const BYTE *bytes = bs_take(src, count);
            if (!bytes || !put(&f, bytes, 0, count)) return 0;
        } else {
            BYTE times = bs_u8(src);
            if (src->overrun || f.used != 0 || f.done == 0) return 0;
            for (unsigned i = 0; i < times && f.done < rows; i++) {
                memcpy(f.row, f.previous, rowBytes);
                if (!finish_row(&f)) return 0;
            }
        }
    }
    return 1;
}

void wpg_rle_flush(ByteSink *sink, unsigned *pendingRepeats) {
    while (*pendingRepeats) {
        unsigned n = *pendingRepeats > 255 ? 255 : *pendingRepeats;
        sink_u8(sink, 0);
        sink_u8(sink, (BYTE)n);
        *pendingRepeats -= n;
    }
}

void wpg_rle_encode_row(ByteSink *sink, const BYTE *row, const BYTE *previous, size_t rowBytes,
                        unsigned *pendingRepeats) {
    if (previous && memcmp(row, previous, rowBytes) == 0) {
        ++*pendingRepeats;
        return;
    }
    wpg_rle_flush(sink, pendingRepeats);
    size_t x = 0;
    while (x < rowBytes) {
        size_t run = 1;
        while (x + run < rowBytes && run < 127 && row[x + run] == row[x]) run++;
        if (run >= 3) {
            sink_u8(sink, (BYTE)(0x80 | run));
            sink_u8(sink, row[x]);
            x += run;
            continue;
        }
        size_t start = x, len = 0;
        while (x < rowBytes && len < 127) {
            if (x + 2 < rowBytes && row[x] == row[x + 1] && row[x] == row[x + 2]) break;
            x++;
            len++;
        }
        sink_u8(sink, (BYTE)len);
        sink_bytes(sink, row + start, len);
    }
}
