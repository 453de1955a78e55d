// Runs a stylize filter on the input: its first twelve bytes choose the
// filter number (past the table too), the amount, p1 to p3 and the color;
// the rest is the DIB block, header, table and pixels, of any size and
// shape.  Whatever the header claims, no filter may read or write outside
// the blocks, and a result must be a sound 24- or 32-bit DIB.
#include <stdint.h>
#include <string.h>

#include "style.h"
#include "zynlib.h"

static int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

static unsigned word_at(const uint8_t *p) { return (unsigned)p[0] | (unsigned)p[1] << 8; }

static void check_result(HGLOBAL out) {
    if (!out) return;
    const BITMAPINFOHEADER *h = (const BITMAPINFOHEADER *)GlobalLock(out);
    if (!h || h->biSize != 40 || (h->biBitCount != 24 && h->biBitCount != 32) || h->biCompression != BI_RGB ||
        h->biClrUsed != 0 || GlobalSize(out) != 40 + (size_t)h->biSizeImage)
        __builtin_trap();
    GlobalUnlock(out);
    GlobalFree(out);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    const size_t kParams = 12;
    if (size < kParams || size - kParams > (1u << 16)) return 0;
    DWORD filter = data[0];
    int amount = (int16_t)word_at(data + 1) * 2;
    DWORD p1 = word_at(data + 3), p2 = word_at(data + 5), p3 = word_at(data + 7);
    DWORD color = (DWORD)data[9] | (DWORD)data[10] << 8 | (DWORD)data[11] << 16;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, size - kParams);
    if (!dib) return 0;
    if (size > kParams) memcpy(GlobalLock(dib), data + kParams, size - kParams), GlobalUnlock(dib);
    check_result(STY_CallFilter(filter, dib, amount, p1, p2, p3, color));
    GlobalFree(dib);
    return 0;
}
