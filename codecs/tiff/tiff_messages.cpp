/* The library's errors in the program's words.  The library's own texts
   are never shown: each error is matched by a phrase of its format string
   to one of the program's messages, and the first error of an operation is
   the one the user sees when the operation fails.  Warnings are counted
   and otherwise ignored: the library carries on after them. */
#include <string.h>

#include "codecs/tiff/tiff_glue.h"
#include "lumacast_strings.h"

typedef struct ErrorPhrase {
    const char *phrase;
    UINT id;
} ErrorPhrase;

/* First match wins, so the specific phrases come before the general ones. */
static const ErrorPhrase phrases[] = {
    {"bad magic number", IDS_TIF_BAD_HEADER_ID},
    {"bad version number", IDS_TIF_BAD_VERSION},
    {"bad BigTIFF", IDS_TIF_BAD_VERSION},
    {"Cannot read TIFF header", IDS_TIF_READ_HEADER},
    {"Error writing TIFF header", IDS_TIF_WRITE_HEADER},
    {"Error updating TIFF header", IDS_TIF_WRITE_HEADER},
    {"before directory write", IDS_TIF_DISK_BEFORE_DIR},
    {"Seek error accessing TIFF directory", IDS_TIF_DIR_ACCESS},
    {"does not exist", IDS_TIF_DIR_ACCESS},
    {"directory count", IDS_TIF_DIR_COUNT},
    {"Cannot allocate strip offset", IDS_TIF_DIR_MEMORY},
    {"Out of memory reading of", IDS_TIF_DIR_MEMORY},
    {"Can not read TIFF directory", IDS_TIF_DIR_READ},
    {"Failed to read directory", IDS_TIF_DIR_READ},
    {"missing required", IDS_TIF_MISSING_FIELD},
    {"Missing required", IDS_TIF_MISSING_FIELD},
    {"Invalid data type", IDS_TIF_BAD_TAG_TYPE},
    {"Bad field type", IDS_TIF_BAD_TAG_TYPE},
    {"Wrong data type", IDS_TIF_BAD_TAG_TYPE},
    {"Invalid type for", IDS_TIF_BAD_TAG_TYPE},
    {"ncorrect count", IDS_TIF_DATA_COUNT},
    {"Sanity check on size of", IDS_TIF_DATA_COUNT},
    {"different values per sample", IDS_TIF_SAMPLE_VALUES},
    {"Sanity check on tag count", IDS_TIF_FIELD_COUNT},
    {"Bits/sample must be 1 for Group 3/4", IDS_TIF_FAX_BITS},
    {"is not implemented", IDS_TIF_UNKNOWN_COMPRESSION},
    {"compression support is not configured", IDS_TIF_UNKNOWN_COMPRESSION},
    {"requested compression method", IDS_TIF_UNKNOWN_COMPRESSION},
    {"does not support random access", IDS_TIF_UNKNOWN_COMPRESSION},
    {"SamplesPerPixel", IDS_TIF_SAMPLES_PER_PIXEL},
    {"samplesperpixel", IDS_TIF_SAMPLES_PER_PIXEL},
    {"Bad value", IDS_TIF_BAD_TAG_VALUE},
    {"Incorrect value", IDS_TIF_BAD_TAG_VALUE},
    {"Negative value", IDS_TIF_BAD_TAG_VALUE},
    {"Not-a-number value", IDS_TIF_BAD_TAG_VALUE},
    {"Illegal value", IDS_TIF_BAD_TAG_VALUE},
    {"Invalid value", IDS_TIF_BAD_TAG_VALUE},
    {"nknown tag", IDS_TIF_UNKNOWN_FIELD},
    {"nknown %stag", IDS_TIF_UNKNOWN_FIELD},
    {"Could not find tag", IDS_TIF_UNKNOWN_FIELD},
    {"verflow", IDS_TIF_OVERFLOW},
    {"strip buffer", IDS_TIF_STRIP_MEMORY},
    {"data buffer at scanline", IDS_TIF_STRIP_MEMORY},
    {"Seek error at scanline", IDS_TIF_SEEK_STRIP},
    {"Invalid strip byte count", IDS_TIF_READ_STRIP},
    {"Data buffer too small", IDS_TIF_READ_STRIP},
    {"Read error on strip", IDS_TIF_INCOMPLETE},
    {"Read error at", IDS_TIF_INCOMPLETE},
    {"Not enough data", IDS_TIF_INCOMPLETE},
    {"Premature EOF", IDS_TIF_INCOMPLETE},
    {"File too short", IDS_TIF_INCOMPLETE},
    {"Bad code word", IDS_TIF_FILE_ERROR},
    {"Premature EOL", IDS_TIF_FILE_ERROR},
    {"Uncompressed data (not supported)", IDS_TIF_FILE_ERROR},
    {"Buffer overflow at line", IDS_TIF_FILE_ERROR},
    {"Line length mismatch", IDS_TIF_FILE_ERROR},
    {"scanlines from a tiled image", IDS_TIF_READ_DATA},
    {"Cannot handle zero", IDS_TIF_BAD_DATA},
    {"Fractional scanline", IDS_TIF_INTERNAL_WRITE},
    {"File not open for", IDS_TIF_INTERNAL_WRITE},
    {"Cannot modify tag", IDS_TIF_INTERNAL_WRITE},
    {"Write error", IDS_TIF_WRITE_DATA},
    {"Error writing data", IDS_TIF_WRITE_DATA},
    {"IO error writing tag data", IDS_TIF_WRITE_DATA},
    {"Cannot write", IDS_TIF_WRITE_DATA},
    {"directory", IDS_TIF_WRITE_FILE},
    {"Maximum TIFF file size exceeded", IDS_TIF_WRITE_FILE},
};

static int is_memory_failure(const char *format) {
    static const char *const words[] = {"No space", "Out of memory", "Not enough memory", "Failed to allocate",
                                        "Memory allocation", "Cannot allocate", "malloc"};
    for (size_t i = 0; i < sizeof words / sizeof words[0]; i++)
        if (strstr(format, words[i])) return 1;
    return 0;
}

UINT tiff_error_id(const char *format, int writing) {
    if (!format) format = "";
    for (size_t i = 0; i < sizeof phrases / sizeof phrases[0]; i++) {
        if (!strstr(format, phrases[i].phrase)) continue;
        /* Directory phrases of a write are the writer's; of a read, the
           reader's below. */
        if (phrases[i].id == IDS_TIF_WRITE_FILE && !writing) break;
        return phrases[i].id;
    }
    if (is_memory_failure(format)) return writing ? IDS_TIF_WRITE_MEMORY : IDS_TIF_LOAD_MEMORY;
    return writing ? IDS_TIF_WRITE_FILE : IDS_TIF_READ_IMAGE;
}

static void record_error(TiffSession *s, const char *format) {
    if (!s) return;
    if (!s->errors++) s->firstError = tiff_error_id(format, s->writing);
}

int tiff_on_error(TIFF *, void *user, const char *, const char *format, va_list) {
    record_error((TiffSession *)user, format);
    return 1; /* handled: nothing reaches the process-wide handlers */
}

int tiff_on_warning(TIFF *, void *user, const char *, const char *, va_list) {
    if (user) ((TiffSession *)user)->warnings++;
    return 1;
}

/* The program is single-threaded: one TIFF operation at a time. */
static TiffSession *activeSession;

void tiff_set_active_session(TiffSession *s) { activeSession = s; }

static void process_error(const char *, const char *format, va_list) { record_error(activeSession, format); }

static void process_warning(const char *, const char *, va_list) {
    if (activeSession) activeSession->warnings++;
}

void tiff_install_process_handlers(void) {
    static int installed;
    if (installed) return;
    installed = 1;
    TIFFSetErrorHandler(process_error);
    TIFFSetWarningHandler(process_warning);
}
