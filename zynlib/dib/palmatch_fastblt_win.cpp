// ZYN_DIB_FastPalDibBlt: drawing on displays of 8 bits or fewer.  A true-
// color DIB is reduced to the 3-3-2 palette in horizontal bands, only the
// bands the clip box shows; an 8-bit DIB on a 4-bit display is halftoned
// row by row; anything else is drawn as it is.
#include <stdlib.h>
#include <string.h>

#include "depth_internal.h"
#include "zyn_internal.h"

namespace {

int g_dither = 0;
int g_alpha_mode = 0;

const size_t kBandBytes = 8192;
// 40-byte header and the 256 palette indices as 16-bit values.
const size_t kBandHeader = sizeof(BITMAPINFOHEADER) + 256 * sizeof(WORD);

struct Source {
    BITMAPINFOHEADER *header;
    RGBQUAD *table;
    BYTE *bits;
    DWORD colors;
};

void draw_direct(HDC dc, const Source &s) {
    StretchDIBits(dc, 0, 0, s.header->biWidth, s.header->biHeight, 0, 0, s.header->biWidth, s.header->biHeight,
                  s.bits, reinterpret_cast<BITMAPINFO *>(s.header), DIB_RGB_COLORS, SRCCOPY);
}

// The band buffer: 8 KB, or one row more than the header when a row is
// larger; halved while memory is short, never below one row.
BYTE *band_buffer(size_t rowBytes, size_t *size) {
    size_t want = kBandBytes < kBandHeader + rowBytes ? kBandHeader + rowBytes : kBandBytes;
    for (;;) {
        BYTE *p = static_cast<BYTE *>(malloc(want));
        if (p) {
            *size = want;
            return p;
        }
        if (want == kBandHeader + rowBytes) return nullptr;
        want /= 2;
        if (want < kBandHeader + rowBytes) want = kBandHeader + rowBytes;
    }
}

void draw_bands(HDC dc, const Source &s, const RECT &clip) {
    LONG width = s.header->biWidth, height = s.header->biHeight;
    int srcBits = s.header->biBitCount;
    size_t srcStride = (((size_t)srcBits * (size_t)width + 31) >> 5) * 4;
    size_t rowBytes = ((size_t)width + 3) & ~(size_t)3;
    size_t size;
    BYTE *buffer = band_buffer(rowBytes, &size);
    if (!buffer) {
        zyn_report(IDS_ZYN_NOMEM_DRAW);
        return;
    }
    LONG bandRows = (LONG)((size - kBandHeader) / rowBytes);
    BITMAPINFOHEADER *bh = reinterpret_cast<BITMAPINFOHEADER *>(buffer);
    memset(bh, 0, sizeof *bh);
    bh->biSize = sizeof *bh;
    bh->biWidth = width;
    bh->biPlanes = 1;
    bh->biBitCount = 8;
    bh->biClrUsed = 256;
    WORD *indices = reinterpret_cast<WORD *>(buffer + sizeof *bh);
    for (WORD i = 0; i < 256; i++) indices[i] = i;
    BYTE *band = buffer + kBandHeader;
    int display = zyn_display_bits();
    for (LONG top = 0; top < height; top += bandRows) {
        LONG rows = height - top < bandRows ? height - top : bandRows;
        if (top + rows <= clip.top || top >= clip.bottom) continue;
        // Band row 0 is its bottom row, image row top + rows - 1 from the top.
        for (LONG k = 0; k < rows; k++) {
            LONG fromTop = top + rows - 1 - k;
            const BYTE *src = s.bits + (size_t)(height - 1 - fromTop) * srcStride;
            zyn_reduce_row_332(src, srcBits, band + (size_t)k * rowBytes, width, fromTop, g_dither, display,
                               g_alpha_mode);
        }
        bh->biHeight = rows;
        bh->biSizeImage = (DWORD)(rowBytes * (size_t)rows);
        SetDIBitsToDevice(dc, 0, top, (DWORD)width, (DWORD)rows, 0, 0, 0, (UINT)rows, band,
                          reinterpret_cast<BITMAPINFO *>(buffer), DIB_PAL_COLORS);
    }
    free(buffer);
}

bool table_is_gray(const Source &s) {
    for (DWORD i = 0; i < s.colors; i++)
        if (s.table[i].rgbRed != s.table[i].rgbGreen || s.table[i].rgbGreen != s.table[i].rgbBlue) return false;
    return true;
}

void gray_halftone_row(const BYTE *src, const Source &s, BYTE *dst, LONG width, LONG row) {
    for (LONG x = 0; x < width; x++) {
        RGBQUAD q = zyn_entry(s.table, s.colors, src[x]);
        int offset = 2 * zyn_dither_matrix[row & 3][x & 3] * (zyn_dither_luma(q.rgbRed, q.rgbGreen, q.rgbBlue) >> 4);
        int v = q.rgbRed + offset;
        BYTE index = v < 64 ? 0 : v < 160 ? 8 : v < 223 ? 7 : 15;
        if (x & 1)
            dst[x >> 1] |= index;
        else
            dst[x >> 1] = (BYTE)(index << 4);
    }
}

// 1 when drawn; 0 when the row buffer could not be had.
int draw_halftoned(HDC dc, const Source &s) {
    LONG width = s.header->biWidth, height = s.header->biHeight;
    size_t srcStride = ((size_t)width + 3) & ~(size_t)3;
    size_t rowBytes = (((size_t)width * 4 + 31) >> 5) * 4;
    size_t headerBytes = sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD);
    BYTE *buffer = static_cast<BYTE *>(calloc(1, headerBytes + rowBytes));
    if (!buffer) return 0;
    BITMAPINFOHEADER *bh = reinterpret_cast<BITMAPINFOHEADER *>(buffer);
    bh->biSize = sizeof *bh;
    bh->biWidth = width;
    bh->biHeight = 1;
    bh->biPlanes = 1;
    bh->biBitCount = 4;
    bh->biSizeImage = (DWORD)rowBytes;
    bh->biClrUsed = 16;
    memcpy(buffer + sizeof *bh, zyn_default16, sizeof zyn_default16);
    BYTE *row = buffer + headerBytes;
    bool gray = table_is_gray(s);
    for (LONG top = 0; top < height; top++) {
        const BYTE *src = s.bits + (size_t)(height - 1 - top) * srcStride;
        if (gray)
            gray_halftone_row(src, s, row, width, top);
        else
            zyn_halftone_row_4(src, s.table, s.colors, row, width, top);
        SetDIBitsToDevice(dc, 0, top, (DWORD)width, 1, 0, 0, 0, 1, row, reinterpret_cast<BITMAPINFO *>(buffer),
                          DIB_RGB_COLORS);
    }
    free(buffer);
    return 1;
}

}  // namespace

extern "C" void WINAPI ZYN_DIB_FastPalDibBlt(HDC dc, HGLOBAL dib, LPARAM, int dither, int alphaMode) {
    if (dither != -1) g_dither = dither;
    if (alphaMode != -1) g_alpha_mode = alphaMode;
    if (!dc) return;
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR || clip.right == clip.left) return;
    Source s;
    if (!ZYN_DIB_LockPtrs(dib, &s.header, &s.table, &s.bits)) return;
    if (s.header->biSize < sizeof(BITMAPINFOHEADER) || !zyn_dib_rows_inside(dib, s.header, s.bits) ||
        s.header->biWidth <= 0 || s.header->biHeight <= 0) {
        GlobalUnlock(dib);
        return;
    }
    s.colors = ZYN_DIB_NumColors(s.header);
    int display = zyn_display_bits();
    WORD bits = s.header->biBitCount;
    bool plain = s.header->biCompression == BI_RGB;
    if (display <= 8 && bits > 15 && plain && (bits == 24 || bits == 32))
        draw_bands(dc, s, clip);
    else if (!(display == 4 && bits == 8 && plain && g_dither == 1 && draw_halftoned(dc, s)))
        draw_direct(dc, s);
    GlobalUnlock(dib);
}
