/* The one bounded input every reader decodes from: the whole file in
   memory and a cursor.  Reading past the end yields zeros and sets the
   sticky overrun flag, so a decoder checks once per row (or at the end)
   instead of after every byte, and can never read outside the data. */
#ifndef LC_BYTE_SOURCE_H
#define LC_BYTE_SOURCE_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ByteSource {
    const BYTE *data;
    size_t size;
    size_t pos;
    int overrun; /* set once a read wanted more than there was */
} ByteSource;

/* A file read whole into memory; owns its buffer. */
typedef struct CodecFile {
    BYTE *data;
    size_t size;
} CodecFile;

/* Largest file a reader takes in (larger files fail as out of memory). */
#define LC_MAX_FILE_BYTES ((size_t)1 << 30)

/* 1 on success; 0 when the file cannot be opened or read (no message: each
   reader decides what to say), or is larger than LC_MAX_FILE_BYTES (then
   *tooLarge is set when given). */
int codec_file_read(const char *path, CodecFile *file, int *tooLarge);
void codec_file_free(CodecFile *file);

/* A reader's memory entry: decodes data into a new DIB in *out. */
typedef int (*CodecDecodeProc)(const BYTE *data, size_t size, HGLOBAL *out);

/* The file handler of a reader that decodes from memory: clears *out,
   maps or reads the file whole (file_view.h) and decodes it.  A file that cannot be opened fails
   without a message; one too large to take in reports tooLargeId (a "%s"
   format message). */
int codec_load_whole_file(const char *path, HGLOBAL *out, UINT tooLargeId, CodecDecodeProc decode);

void bs_init(ByteSource *s, const void *data, size_t size);
static inline size_t bs_remaining(const ByteSource *s) { return s->size - s->pos; }

static inline BYTE bs_u8(ByteSource *s) {
    if (s->pos < s->size) return s->data[s->pos++];
    s->overrun = 1;
    return 0;
}

WORD bs_u16le(ByteSource *s);
DWORD bs_u32le(ByteSource *s);
WORD bs_u16be(ByteSource *s);
DWORD bs_u32be(ByteSource *s);

/* Copies n bytes; what is missing is zero-filled and sets overrun.
   Returns 1 when all n bytes were there. */
int bs_read(ByteSource *s, void *dst, size_t n);
/* Pointer to the next n bytes and advance, or null (overrun set) when
   fewer remain; the cursor then stays where it was. */
const BYTE *bs_take(ByteSource *s, size_t n);
/* 1 when the position lies inside the data (or at its end). */
int bs_seek(ByteSource *s, size_t pos);
int bs_skip(ByteSource *s, size_t n);

#ifdef __cplusplus
}
#endif

#endif
