/* The frame of the writers that put a header and then one file row per
   DIB row, top row first: buffers, opening, the row loop with its progress
   and the finish, each failure reported once in the writers' words. */
#ifndef LC_ROW_WRITER_H
#define LC_ROW_WRITER_H

#include <stddef.h>

#include "codecs/common/byte_sink.h"
#include "codecs/common/dib_build.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes everything before the rows; 0 when it could not. */
typedef int (*RowWriterHeaderProc)(ByteSink *s, const void *ctx);
/* Turns one DIB row into rowBytes of the file. */
typedef void (*RowWriterRowProc)(const void *ctx, const BYTE *dibRow, BYTE *fileRow, size_t rowBytes);

/* Writes path from d; 1 when the file is complete. */
int row_writer_save(const char *path, const DibParts *d, size_t rowBytes, RowWriterHeaderProc header,
                    RowWriterRowProc row, const void *ctx);

#ifdef __cplusplus
}
#endif

#endif
