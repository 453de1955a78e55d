/* libtiff over our own input and output: a file held in memory for
   reading (handed to the library as a mapping, so strips are decoded in
   place), a stdio file for writing.  The library's errors and warnings go
   to the session, never to the console; a failure is shown once, by the
   caller, as the program's own text for the first error. */
#ifndef LC_CODECS_TIFF_GLUE_H
#define LC_CODECS_TIFF_GLUE_H

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>

#include <tiffio.h>

#include "platform.h"

typedef struct TiffSession {
    const BYTE *data; /* reading: the whole file */
    uint64_t size;
    uint64_t pos;
    FILE *file;       /* writing */
    int writing;
    UINT firstError;  /* message id of the library's first error; 0 none */
    unsigned errors;
    unsigned warnings;
} TiffSession;

/* Opens a file held in memory and reads its first directory; null after
   the library's error (see tiff_report_failure). */
TIFF *tiff_open_memory(TiffSession *s, const BYTE *data, size_t size);
/* Starts a little-endian TIFF on an open, empty, seekable file. */
TIFF *tiff_open_output(TiffSession *s, FILE *file);
/* Closes the library's handle; the caller still owns its file. */
void tiff_close(TiffSession *s, TIFF *tif);

/* Shows the text of the library's first error, or `fallback` when the
   library said nothing.  Returns 0. */
int tiff_report_failure(const TiffSession *s, UINT fallback);

/* The message id for one library error (tiff_messages.cpp). */
UINT tiff_error_id(const char *format, int writing);
/* Handlers for libtiff; user data is the session. */
int tiff_on_error(TIFF *tif, void *user, const char *module, const char *format, va_list args);
int tiff_on_warning(TIFF *tif, void *user, const char *module, const char *format, va_list args);
/* Process-wide handlers for messages raised without a handle: they go to
   the session in use, else nowhere. */
void tiff_install_process_handlers(void);
void tiff_set_active_session(TiffSession *s);

#endif
