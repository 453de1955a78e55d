// The clipboard-file reader on any bytes: entry tables, DIB entries and
// device bitmaps whose sizes lie.
#include <stdint.h>

#include "codecs/bmp/bmp.h"
#include "zynlib.h"

static int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    HGLOBAL dib = NULL;
    if (clp_decode_memory(data, size, (size_t)1 << 20, &dib)) {
        BITMAPINFOHEADER *h;
        BYTE *bits;
        if (!ZYN_DIB_LockPtrs(dib, &h, NULL, &bits) || h->biCompression != 0) __builtin_trap();
        GlobalUnlock(dib);
        GlobalFree(dib);
    } else if (dib) {
        __builtin_trap();
    }
    return 0;
}
