#include <string.h>

#include "core/load_panel.h"

/* Width, height and depth come straight from files: the row size and the
   image size are computed in 64 bits and refused when they leave the 32
   bits a DIB header can hold. */
extern "C" int MakeDibHeader(BITMAPINFOHEADER *header, LONG width, LONG height, WORD bpp, DWORD colors) {
    if (!header || width <= 0 || height <= 0 || bpp == 0 || bpp > 32) return 0;
    unsigned long long rowBytes = (((unsigned long long)bpp * (unsigned long long)width + 31) >> 5) * 4;
    unsigned long long imageSize = rowBytes * (unsigned long long)height;
    if (imageSize > 0xFFFFFFFFull) return 0;
    memset(header, 0, sizeof *header);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = bpp;
    header->biCompression = BI_RGB;
    header->biSizeImage = (DWORD)imageSize;
    header->biClrUsed = colors;
    header->biClrImportant = colors;
    loadinfo_set_number(LI_WIDTH, (DWORD)width);
    loadinfo_set_number(LI_HEIGHT, (DWORD)height);
    loadinfo_set_number(LI_PALETTE, colors != 0);
    loadinfo_set_number(LI_COLORS, colors);
    loadinfo_set_number(LI_MEMORY, (DWORD)imageSize);
    load_panel_info_ready();
    return 1;
}
