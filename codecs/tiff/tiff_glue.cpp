#include "codecs/tiff/tiff_glue.h"

#include <string.h>

#include "core/messages.h"

/* Largest single block the library may take while reading: a decoded
   scan line is a few hundred kilobytes at most, and strips are read in
   place; anything larger comes from a damaged directory. */
#define TIFF_READ_ALLOC_LIMIT ((tmsize_t)256 << 20)

static tmsize_t memory_read(thandle_t h, void *buf, tmsize_t n) {
    TiffSession *s = (TiffSession *)h;
    if (n <= 0 || s->pos >= s->size) return 0;
    uint64_t left = s->size - s->pos;
    uint64_t take = (uint64_t)n < left ? (uint64_t)n : left;
    memcpy(buf, s->data + s->pos, (size_t)take);
    s->pos += take;
    return (tmsize_t)take;
}

static tmsize_t refuse_write(thandle_t, void *, tmsize_t) { return -1; }

/* Positions may lie past the end (the library checks what it reads). */
static toff_t memory_seek(thandle_t h, toff_t offset, int whence) {
    TiffSession *s = (TiffSession *)h;
    uint64_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->size : 0;
    if (offset > UINT64_MAX - base) return (toff_t)-1;
    s->pos = base + offset;
    return s->pos;
}

static int no_close(thandle_t) { return 0; }

static toff_t memory_size(thandle_t h) { return ((TiffSession *)h)->size; }

static int memory_map(thandle_t h, void **base, toff_t *size) {
    TiffSession *s = (TiffSession *)h;
    *base = (void *)s->data;
    *size = s->size;
    return 1;
}

static void memory_unmap(thandle_t, void *, toff_t) {}

static tmsize_t refuse_read(thandle_t, void *, tmsize_t) { return -1; }

static tmsize_t file_write(thandle_t h, void *buf, tmsize_t n) {
    TiffSession *s = (TiffSession *)h;
    if (n <= 0) return 0;
    return (tmsize_t)fwrite(buf, 1, (size_t)n, s->file);
}

static int file_seek_to(FILE *f, int64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(f, offset, whence);
#else
    return fseeko(f, (off_t)offset, whence);
#endif
}

static int64_t file_tell(FILE *f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return (int64_t)ftello(f);
#endif
}

static toff_t file_seek(thandle_t h, toff_t offset, int whence) {
    TiffSession *s = (TiffSession *)h;
    if (offset > (toff_t)INT64_MAX || file_seek_to(s->file, (int64_t)offset, whence) != 0) return (toff_t)-1;
    int64_t at = file_tell(s->file);
    return at < 0 ? (toff_t)-1 : (toff_t)at;
}

static toff_t file_size(thandle_t h) {
    TiffSession *s = (TiffSession *)h;
    int64_t here = file_tell(s->file);
    if (here < 0 || file_seek_to(s->file, 0, SEEK_END) != 0) return 0;
    int64_t end = file_tell(s->file);
    file_seek_to(s->file, here, SEEK_SET);
    return end < 0 ? 0 : (toff_t)end;
}

static int no_map(thandle_t, void **, toff_t *) { return 0; }

static TIFFOpenOptions *session_options(TiffSession *s, tmsize_t allocLimit) {
    TIFFOpenOptions *opts = TIFFOpenOptionsAlloc();
    if (!opts) return NULL;
    TIFFOpenOptionsSetErrorHandlerExtR(opts, tiff_on_error, s);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, tiff_on_warning, s);
    if (allocLimit) TIFFOpenOptionsSetMaxSingleMemAlloc(opts, allocLimit);
    return opts;
}

TIFF *tiff_open_memory(TiffSession *s, const BYTE *data, size_t size) {
    memset(s, 0, sizeof *s);
    s->data = data;
    s->size = size;
    tiff_install_process_handlers();
    tiff_set_active_session(s);
    TIFFOpenOptions *opts = session_options(s, TIFF_READ_ALLOC_LIMIT);
    if (!opts) {
        s->firstError = 0;
        return NULL;
    }
    TIFF *tif = TIFFClientOpenExt("TIF", "r", (thandle_t)s, memory_read, refuse_write, memory_seek, no_close,
                                  memory_size, memory_map, memory_unmap, opts);
    TIFFOpenOptionsFree(opts);
    if (!tif) tiff_set_active_session(NULL);
    return tif;
}

TIFF *tiff_open_output(TiffSession *s, FILE *file) {
    memset(s, 0, sizeof *s);
    s->file = file;
    s->writing = 1;
    tiff_install_process_handlers();
    tiff_set_active_session(s);
    TIFFOpenOptions *opts = session_options(s, 0);
    if (!opts) return NULL;
    TIFF *tif = TIFFClientOpenExt("TIF", "wl", (thandle_t)s, refuse_read, file_write, file_seek, no_close,
                                  file_size, no_map, memory_unmap, opts);
    TIFFOpenOptionsFree(opts);
    if (!tif) tiff_set_active_session(NULL);
    return tif;
}

void tiff_close(TiffSession *s, TIFF *tif) {
    if (tif) TIFFClose(tif);
    tiff_set_active_session(NULL);
    (void)s;
}

int tiff_report_failure(const TiffSession *s, UINT fallback) {
    codec_error(s->firstError ? s->firstError : fallback);
    return 0;
}
