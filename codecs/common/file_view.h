/* A file as a reader sees it: a read-only mapping of the whole file where
   the system offers one (no copy, and the pages come in at once), else the
   file read whole into memory.  Either way the reader gets bytes it must
   not change and decodes them through a ByteSource. */
#ifndef LC_FILE_VIEW_H
#define LC_FILE_VIEW_H

#include <stddef.h>

#include "codecs/common/byte_source.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FileView {
    const BYTE *data;
    size_t size;
    void *view;     /* the mapping, when there is one */
    CodecFile copy; /* otherwise the file read whole */
} FileView;

/* 1 on success; 0 when the file cannot be opened or read (no message), or
   is larger than LC_MAX_FILE_BYTES (then *tooLarge is set when given). */
int file_view_open(const char *path, FileView *in, int *tooLarge);
void file_view_close(FileView *in);

/* Zero-filled working memory for a decoder; large blocks come from the
   system directly, asking for huge pages where it has them, because the
   page faults of touching a fresh multi-megabyte buffer cost more than the
   decoding.  Free with the same size. */
void *codec_scratch_alloc(size_t size);
void codec_scratch_free(void *p, size_t size);

#ifdef __cplusplus
}
#endif

#endif
