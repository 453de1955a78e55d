/* A format plug-in for the dispatch tests.  Validate takes names that
   contain "take"; Load makes a 1x1 8-bit DIB; Save records its arguments
   in the file it is given. */
#include <stdio.h>
#include <string.h>

#include "platform.h"

extern "C" {

int RQ_Fmt_Validate(HMODULE host, LPSTR path) { return strstr(path, "take") != NULL; }

int RQ_Fmt_Load(HMODULE host, LPSTR path, HGLOBAL *out) {
    *out = NULL;
    if (strstr(path, "fail")) return 0;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 256 * 4 + 4);
    if (!dib) return 0;
    BITMAPINFOHEADER *h = (BITMAPINFOHEADER *)GlobalLock(dib);
    h->biSize = sizeof *h;
    h->biWidth = 1;
    h->biHeight = 1;
    h->biPlanes = 1;
    h->biBitCount = 8;
    h->biSizeImage = 4;
    GlobalUnlock(dib);
    *out = dib;
    return 1;
}

int RQ_Fmt_Save(HMODULE host, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    FILE *f = fopen(path, "w");
    if (!f) return 0;
    fprintf(f, "host=%p color=%u compressed=%u bpp=%u", (void *)host, color, compressed, bpp);
    fclose(f);
    return 1;
}
}
