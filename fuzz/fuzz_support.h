/* Set-up shared by the fuzz targets. */
#ifndef LC_FUZZ_SUPPORT_H
#define LC_FUZZ_SUPPORT_H

#include <string.h>

#include "core/catalogue.h"
#include "zynlib.h"

/* Every box is answered Yes, so damaged data that may still be shown is
   decoded to the end. */
static inline int WINAPI fuzz_answer_yes(HWND, LPCSTR, LPCSTR, UINT) { return IDYES; }

/* For readers driven without the catalogue: every box answered OK. */
static inline int WINAPI fuzz_answer_quietly(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

/* Once per process: the catalogue, the answering message method, and the
   entry with this extension as the current load format (so messages name
   it as a real load would). */
static inline void fuzz_load_as(const char *extension) {
    static int ready;
    if (ready) return;
    ready = 1;
    ZYN_ERR_SetErrorMethod(fuzz_answer_yes);
    catalogue_register_builtins();
    for (int i = 0; i < catalogue_count(); i++) {
        char ext[16];
        if (catalogue_extension(i, ext, sizeof ext) && strcmp(ext, extension) == 0) {
            catalogue_set_current_load(i);
            break;
        }
    }
}

/* What a reader hands out must be a sound uncompressed DIB, and a failed
   load must not leave an image behind; the image is freed. */
static inline void fuzz_check_result(int ok, HGLOBAL dib) {
    if (!ok) {
        if (dib) __builtin_trap();
        return;
    }
    BITMAPINFOHEADER *h;
    BYTE *bits;
    if (!ZYN_DIB_LockPtrs(dib, &h, NULL, &bits) || h->biCompression != 0) __builtin_trap();
    GlobalUnlock(dib);
    GlobalFree(dib);
}

#endif
