/* Buffered output for the writers.  Errors are sticky: a writer emits
   everything and asks once, at sink_close, whether all of it reached the
   file.  The pipeline hands writers a temporary path, so a failed write
   never touches the user's original file. */
#ifndef LC_BYTE_SINK_H
#define LC_BYTE_SINK_H

#include <stddef.h>
#include <stdio.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LC_SINK_BUFFER 65536

typedef struct ByteSink {
    FILE *file;
    size_t used;
    int failed;
    BYTE buffer[LC_SINK_BUFFER];
} ByteSink;

/* Creates (replaces) the file; 0 when it cannot be created. */
int sink_open(ByteSink *s, const char *path);
void sink_bytes(ByteSink *s, const void *data, size_t n);
void sink_fill(ByteSink *s, BYTE value, size_t n);
static inline void sink_u8(ByteSink *s, BYTE v) {
    if (s->used == LC_SINK_BUFFER) sink_bytes(s, NULL, 0);
    if (s->used < LC_SINK_BUFFER) s->buffer[s->used++] = v;
}
void sink_u16le(ByteSink *s, WORD v);
void sink_u32le(ByteSink *s, DWORD v);
void sink_u16be(ByteSink *s, WORD v);
void sink_u32be(ByteSink *s, DWORD v);
int sink_printf(ByteSink *s, const char *format, ...);
/* 1 while everything so far has been accepted. */
static inline int sink_ok(const ByteSink *s) { return !s->failed; }
/* Flushes and closes; 1 when every byte reached the file. */
int sink_close(ByteSink *s);
/* Closes and deletes a file that will not be completed. */
void sink_abandon(ByteSink *s, const char *path);
/* Ends a write: when everything so far went well (written), closes the
   file and returns 1 if every byte reached it; otherwise, or when the close
   fails, abandons the file and returns 0.  *closeFailed tells the two
   failures apart for the writer's message. */
int sink_finish(ByteSink *s, const char *path, int written, int *closeFailed);

#ifdef __cplusplus
}
#endif

#endif
