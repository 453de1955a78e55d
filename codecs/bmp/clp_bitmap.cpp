// A clipboard file's device-dependent bitmap as a DIB.  On Windows the
// bits become a real device bitmap that the library converts; natively the
// screen is a 24-bit one, whose device rows are the DIB's rows top-down.
#include <stdlib.h>
#include <string.h>

#include "codecs/bmp/bmp_internal.h"
#include "codecs/common/dib_build.h"
#include "zynlib.h"

#ifdef _WIN32

extern "C" HGLOBAL clp_bitmap_to_dib(LONG width, LONG height, DWORD widthBytes, WORD planes, WORD bits,
                                     const BYTE *data) {
    // CreateBitmap reads word-aligned rows: repack rows stored wider.
    size_t rowBytes = ((size_t)width * bits * planes + 15) / 16 * 2;
    BYTE *rows = (BYTE *)malloc(rowBytes * (size_t)height);
    if (!rows) return NULL;
    for (LONG y = 0; y < height; y++) memcpy(rows + (size_t)y * rowBytes, data + (size_t)y * widthBytes, rowBytes);
    HBITMAP bitmap = CreateBitmap(width, height, planes, bits, rows);
    free(rows);
    if (!bitmap) return NULL;
    HGLOBAL dib = ZYN_DIB_DIBFromBitmap(NULL, bitmap, BI_RGB, 0, (HPALETTE)(INT_PTR)-1, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    return dib;
}

#else

extern "C" HGLOBAL clp_bitmap_to_dib(LONG width, LONG height, DWORD widthBytes, WORD planes, WORD bits,
                                     const BYTE *data) {
    if (planes != 1 || bits != 24) return NULL;
    DibParts d;
    if (!dib_create(width, height, 24, 0, &d)) return NULL;
    for (LONG y = 0; y < height; y++) memcpy(dib_row_from_top(&d, y), data + (size_t)y * widthBytes, (size_t)width * 3);
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

#endif
