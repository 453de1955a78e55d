// Treats the input as a DIB block (header, table, pixels) of any size and
// runs the operations that trust a header: none may read or write outside
// the block, whatever the header claims.
#include <stdint.h>
#include <string.h>

#include "zynlib.h"

static int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    if (size > (1u << 20)) return 0;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!dib) return 0;
    memcpy(GlobalLock(dib), data, size);
    GlobalUnlock(dib);

    BITMAPINFOHEADER info;
    ZYN_DIB_Info(dib, &info);
    if (size >= sizeof(BITMAPINFOHEADER)) {
        ZYN_DIB_NumColors(data);
        ZYN_DIB_PaletteSize(data);
    }
    HGLOBAL copy = ZYN_DIB_Copy(dib);
    if (copy) GlobalFree(copy);
    ZYN_DIB_FixPalette(dib);
    HGLOBAL fixed = ZYN_DIB_FixDIBAlignment(dib);
    GlobalFree(fixed ? fixed : dib);
    return 0;
}
