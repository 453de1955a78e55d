// What both readers share: the fixed load information, the fields that
// follow from the header, and the normalisation of the finished DIB.
#include "codecs/bmp/bmp_internal.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "zynlib.h"

extern "C" void bmp_begin_info(UINT creatorId) {
    load_panel_begin_progress(0, 5);
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 3);
    char creator[32];
    if (LoadStringA(lc_instance(), creatorId, creator, (int)sizeof creator) > 0) loadinfo_set_text(LI_CREATOR, creator);
}

extern "C" void bmp_header_info(const BITMAPINFOHEADER *info) {
    loadinfo_set_number(LI_BITS_PER_PIXEL, info->biBitCount);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_WIDTH, (DWORD)info->biWidth);
    loadinfo_set_number(LI_HEIGHT, (DWORD)info->biHeight);
    loadinfo_set_number(LI_PALETTE, info->biBitCount != 24);
    loadinfo_set_number(LI_COLORS, info->biClrUsed);
    loadinfo_set_number(LI_COMPRESSED, info->biCompression != BI_RGB);
    loadinfo_set_number(LI_MEMORY, info->biSizeImage);
    load_panel_info_ready();
}

extern "C" HGLOBAL bmp_expand(HGLOBAL dib) {
    BITMAPINFOHEADER info;
    if (!ZYN_DIB_Info(dib, &info) || info.biCompression == BI_RGB) return dib;
    // When this fails the library has already said why ("Error
    // decompressing RLE image", or its memory message): one report only.
    HGLOBAL expanded = ZYN_DIB_Compress(dib, FALSE, BI_RGB);
    GlobalFree(dib);
    return expanded;
}

extern "C" HGLOBAL bmp_fix(HGLOBAL dib) {
    // Null after a report; the block it refused is still ours to free.
    HGLOBAL fixed = ZYN_DIB_FixDIBAlignment(dib);
    if (!fixed) GlobalFree(dib);
    return fixed;
}
