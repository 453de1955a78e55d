#include "core/image_traits.h"

#include <string.h>

/* The table's entry count comes from the file: it is bounded by the depth
   and by the block's size before any entry is read. */
static DWORD table_entries(const BITMAPINFOHEADER *h) {
    DWORD limit = h->biBitCount <= 8 ? (DWORD)1 << h->biBitCount : 0;
    DWORD used = h->biClrUsed ? h->biClrUsed : limit;
    return used < limit ? used : limit;
}

extern "C" int image_traits(HGLOBAL dib, int *bits, int *color) {
    if (!dib) return 0;
    size_t size = GlobalSize(dib);
    const BYTE *block = (const BYTE *)GlobalLock(dib);
    if (!block) return 0;
    BITMAPINFOHEADER h;
    int ok = size >= sizeof h;
    if (ok) {
        memcpy(&h, block, sizeof h);
        ok = h.biSize >= sizeof h && h.biSize <= size;
    }
    if (ok) {
        *bits = h.biBitCount;
        *color = 1;
        DWORD entries = table_entries(&h);
        if (entries > (size - h.biSize) / sizeof(RGBQUAD)) entries = (DWORD)((size - h.biSize) / sizeof(RGBQUAD));
        if (h.biBitCount <= 8) {
            const RGBQUAD *table = (const RGBQUAD *)(block + h.biSize);
            int anyColor = 0;
            for (DWORD i = 0; i < entries && !anyColor; i++)
                anyColor = table[i].rgbRed != table[i].rgbGreen || table[i].rgbGreen != table[i].rgbBlue;
            *color = anyColor;
        }
    }
    GlobalUnlock(dib);
    return ok;
}
