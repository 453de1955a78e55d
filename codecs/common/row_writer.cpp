#include "codecs/common/row_writer.h"

#include <stdlib.h>

#include "codecs/common/codec_report.h"
#include "core/messages.h"
#include "lumacast_strings.h"

extern "C" int row_writer_save(const char *path, const DibParts *d, size_t rowBytes, RowWriterHeaderProc header,
                               RowWriterRowProc row, const void *ctx) {
    BYTE *fileRow = (BYTE *)malloc(rowBytes);
    ByteSink *s = (ByteSink *)malloc(sizeof(ByteSink));
    if (!fileRow || !s) {
        free(fileRow);
        free(s);
        return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    }
    int ok = sink_open(s, path);
    if (!ok) {
        codec_error(IDS_CODEC_OPEN_OUTPUT);
    } else if (!header(s, ctx)) {
        ok = 0;
        sink_abandon(s, path);
        codec_error(IDS_CODEC_WRITE_FILE_HEADER);
    } else {
        for (LONG y = 0; y < d->height && sink_ok(s); y++) {
            row(ctx, dib_row_from_top(d, y), fileRow, rowBytes);
            sink_bytes(s, fileRow, rowBytes);
            codec_row_done();
        }
        int closeFailed;
        ok = sink_finish(s, path, 1, &closeFailed);
        if (!ok) codec_error(IDS_CODEC_WRITE_FILE);
    }
    free(s);
    free(fileRow);
    return ok;
}
