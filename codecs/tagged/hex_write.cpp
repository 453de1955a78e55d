/* HEX writer: the tag lines, the colour map of a palette image, then the
   rows from the top as upper-case hexadecimal digit pairs. */
#include <stdlib.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tagged/tagged.h"
#include "codecs/tagged/text_out.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

/* A reader expects 2^bits entries, so entries past the DIB's table are
   written as black. */
static void write_colormap(ByteSink *s, const DibParts *d) {
    DWORD have = d->colors ? ZYN_DIB_NumColors(d->header) : 0;
    text_put_id(s, IDS_HEX_LINE_COLORMAP);
    for (DWORD i = 0; i < (1u << d->bpp); i++) {
        RGBQUAD q = {0, 0, 0, 0};
        if (i < have) q = d->colors[i];
        char r[2], g[2], b[2];
        hex_pair(q.rgbRed, r);
        hex_pair(q.rgbGreen, g);
        hex_pair(q.rgbBlue, b);
        text_put_id(s, IDS_HEX_LINE_COLOR, r[0], r[1], g[0], g[1], b[0], b[1]);
    }
    text_put(s, "\n", 1);
}

static void write_rows(ByteSink *s, const DibParts *d, char *line) {
    size_t bytes = ((size_t)d->width * d->bpp + 7) / 8;
    for (LONG y = 0; y < d->height; y++) {
        const BYTE *row = dib_row_from_top(d, y);
        line[0] = '\t';
        for (size_t i = 0; i < bytes; i++) hex_pair(row[i], line + 1 + 2 * i);
        line[1 + 2 * bytes] = '\n';
        text_put(s, line, 2 + 2 * bytes);
        codec_row_done();
    }
}

static int write_file(const char *path, const DibParts *d) {
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!s) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    if (!sink_open(s, path)) {
        free(s);
        return codec_error(IDS_CODEC_OPEN_OUTPUT), 0;
    }
    char *line = (char *)malloc(2 + 2 * (((size_t)d->width * d->bpp + 7) / 8));
    if (!line) {
        sink_abandon(s, path);
        free(s);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    text_put_id(s, IDS_HEX_LINE_WIDTH, (int)d->width);
    text_put_id(s, IDS_HEX_LINE_HEIGHT, (int)d->height);
    text_put_id(s, IDS_HEX_LINE_BITSPERPIXEL, (int)d->bpp);
    if (d->bpp != 24) write_colormap(s, d);
    text_put_id(s, IDS_HEX_LINE_IMAGE);
    write_rows(s, d, line);
    int ok = sink_close(s);
    if (!ok) {
        remove(path);
        codec_error(IDS_CODEC_WRITE_FILE);
    }
    free(line);
    free(s);
    return ok;
}

extern "C" int WINAPI HexSave(LPSTR path, HGLOBAL dib, WORD, WORD, WORD) {
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    int ok = d.bpp == 1 || d.bpp == 4 || d.bpp == 8 || d.bpp == 24 ? write_file(path, &d)
                                                                   : save_format_error(IDS_FMT_UNSUPPORTED);
    dib_close(&d);
    return ok;
}
