// The BMP/DIB/RLE reader on any bytes: headers that lie, streams that run
// past their rows, offsets past the end.  Images are limited to 1 MB of
// pixels so that a tiny file cannot make the run exhaust memory.
#include <stdint.h>

#include "codecs/bmp/bmp.h"
#include "zynlib.h"

static int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    HGLOBAL dib = NULL;
    if (bmp_decode_memory(data, size, (size_t)1 << 20, &dib)) {
        // What the reader hands out must be a sound DIB.
        BITMAPINFOHEADER *h;
        BYTE *bits;
        if (!ZYN_DIB_LockPtrs(dib, &h, NULL, &bits) || h->biCompression != 0) __builtin_trap();
        GlobalUnlock(dib);
        GlobalFree(dib);
    } else if (dib) {
        __builtin_trap();  // a failed load must not leave an image behind
    }
    return 0;
}
