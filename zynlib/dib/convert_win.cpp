// Conversions between a DIB and a device bitmap compatible with the screen.
#include <stdlib.h>
#include <string.h>

#include "dib_internal.h"
#include "zyn_internal.h"

namespace {

const HPALETTE kNoPalette = reinterpret_cast<HPALETTE>(static_cast<LONG_PTR>(-1));

// A DIB's header and rows while it is being transferred.
struct DibView {
    BITMAPINFOHEADER *header;
    const BYTE *bits;
    LONG width, rows;
    size_t stride;
};

DibView view_of(BITMAPINFOHEADER *header, const BYTE *bits) {
    DibView v;
    v.header = header;
    v.bits = bits;
    v.width = header->biWidth;
    v.rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    v.stride = (((size_t)header->biBitCount * (size_t)header->biWidth + 31) >> 5) * 4;
    return v;
}

// ---- DIB from a device bitmap ---------------------------------------------

// Any depth above 8 becomes 24; in-between depths take the next one GDI has.
UINT dib_depth(UINT bits) {
    if (bits > 8) return 24;
    if (bits > 4) return 8;
    if (bits > 1) return 4;
    return 1;
}

void table_from_palette(HPALETTE palette, RGBQUAD *table, UINT colors) {
    PALETTEENTRY entries[256];
    UINT got = GetPaletteEntries(palette, 0, colors > 256 ? 256 : colors, entries);
    for (UINT i = 0; i < got; ++i) {
        table[i].rgbRed = entries[i].peRed;
        table[i].rgbGreen = entries[i].peGreen;
        table[i].rgbBlue = entries[i].peBlue;
        table[i].rgbReserved = 0;
    }
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_DIBFromBitmap(HDC dc, HBITMAP bitmap, DWORD compression, UINT bitCount,
                                                HPALETTE palette, UINT usage) {
    if (!bitmap) return nullptr;
    BITMAP bm;
    if (!GetObjectA(bitmap, sizeof bm, &bm)) {
        zyn_report(IDS_ZYN_UNKNOWN_ERROR);
        return nullptr;
    }
    UINT bits = dib_depth(bitCount ? bitCount : (UINT)bm.bmPlanes * bm.bmBitsPixel);
    UINT colors = bits == 24 ? 0 : 1u << bits;
    uint64_t imageBytes;
    if (!zyn_dib_packed_size(bm.bmWidth, bm.bmHeight, (WORD)bits, &imageBytes)) {
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }

    HPALETTE made = nullptr;
    if (!palette) {
        palette = made = ZYN_DIB_GetCurrentPalette();
        if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    }
    HDC screen = nullptr;
    if (!dc) dc = screen = GetDC(nullptr);
    HPALETTE old = nullptr;
    if (palette != kNoPalette) {
        old = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }

    size_t tableBytes = colors * sizeof(RGBQUAD);
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + tableBytes + (size_t)imageBytes);
    BYTE *p = dib ? static_cast<BYTE *>(GlobalLock(dib)) : nullptr;
    if (!p) {
        if (dib) GlobalFree(dib);
        dib = nullptr;
        zyn_report(IDS_ZYN_NOMEM);
    } else {
        BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p);
        h->biSize = sizeof *h;
        h->biWidth = bm.bmWidth;
        h->biHeight = bm.bmHeight;
        h->biPlanes = 1;
        h->biBitCount = (WORD)bits;
        h->biCompression = compression;
        h->biSizeImage = (DWORD)imageBytes;
        h->biClrUsed = h->biClrImportant = colors;
        BYTE *pixels = p + sizeof *h + tableBytes;
        int lines = GetDIBits(dc, bitmap, 0, (UINT)bm.bmHeight, pixels, reinterpret_cast<BITMAPINFO *>(h), usage);
        // The device may have rewritten the header: the record keeps the
        // values it was built with.
        h->biSize = sizeof *h;
        h->biSizeImage = (DWORD)imageBytes;
        h->biClrUsed = h->biClrImportant = colors;
        // Indices refer to the palette only when the device works through
        // one or the table holds palette indices; then the table is that
        // palette's colors.
        if (colors && palette != kNoPalette && (usage == DIB_PAL_COLORS || zyn_display_bits() <= 8))
            table_from_palette(palette, reinterpret_cast<RGBQUAD *>(p + sizeof *h), colors);
        GlobalUnlock(dib);
        if (lines == 0) {
            GlobalFree(dib);
            dib = nullptr;
            zyn_report(IDS_ZYN_UNKNOWN_ERROR);
        }
    }

    if (palette != kNoPalette) SelectPalette(dc, old, TRUE);
    if (screen) ReleaseDC(nullptr, screen);
    if (made) DeleteObject(made);
    return dib;
}

namespace {

// ---- device bitmap from a DIB ---------------------------------------------

// The 8-bit 3-3-2 version of a 24- or 32-bit DIB, for displays of 256
// colors or fewer.  Its table comes from the caller's palette.
HGLOBAL reduce_for_display(const DibView &src, HPALETTE palette, BOOL dither, int display, int alphaMode) {
    uint64_t bytes;
    if (!zyn_dib_packed_size(src.width, src.rows, 8, &bytes)) return nullptr;
    const size_t header = sizeof(BITMAPINFOHEADER), table = 256 * sizeof(RGBQUAD);
    HGLOBAL dib = GlobalAlloc(GHND, header + table + (size_t)bytes);
    if (!dib) return nullptr;
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p);
    *h = *src.header;
    h->biSize = header;
    h->biBitCount = 8;
    h->biCompression = BI_RGB;
    h->biSizeImage = (DWORD)bytes;
    h->biClrUsed = h->biClrImportant = 256;
    RGBQUAD *colors = reinterpret_cast<RGBQUAD *>(p + header);
    zyn_fill_332(colors);
    if (palette) table_from_palette(palette, colors, 256);
    uint64_t stride8;
    zyn_dib_stride(src.width, 8, &stride8);  // width checked by the size above
    BYTE *dst = p + header + table;
    for (LONG row = 0; row < src.rows; ++row)
        zyn_reduce_row_332(src.bits + row * src.stride, src.header->biBitCount, dst + row * (size_t)stride8,
                           src.width, row, dither, display, alphaMode);
    GlobalUnlock(dib);
    return dib;
}

// The ordinary way: the palette realized on the screen, a compatible
// bitmap, the rows set into it.
HBITMAP ordinary_transfer(HDC screen, const DibView &src) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, src.width, src.rows);
    if (!bitmap) {
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    if (!SetDIBits(screen, bitmap, 0, (UINT)src.rows, src.bits, reinterpret_cast<BITMAPINFO *>(src.header),
                   DIB_RGB_COLORS)) {
        DeleteObject(bitmap);
        zyn_report(IDS_ZYN_UNKNOWN_ERROR);
        return nullptr;
    }
    return bitmap;
}

// An 8-bit DIB on a display of 16 colors or fewer: each row halftoned to the
// 16-color table before it is set.  Rows of other depths go in unchanged.
HBITMAP dithered_transfer(HDC screen, const DibView &src, int display) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, src.width, src.rows);
    if (!bitmap) {
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[16];
    } row4 = {};
    row4.h.biSize = sizeof row4.h;
    row4.h.biWidth = src.width;
    row4.h.biHeight = src.rows;
    row4.h.biPlanes = 1;
    row4.h.biBitCount = 4;
    row4.h.biClrUsed = 16;
    memcpy(row4.colors, zyn_default16, sizeof row4.colors);

    const RGBQUAD mono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    LOGPALETTE *lp = static_cast<LOGPALETTE *>(calloc(1, sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY)));
    HPALETTE palette = nullptr;
    if (lp) {
        const RGBQUAD *from = display == 1 ? mono : zyn_default16;
        lp->palVersion = 0x300;
        lp->palNumEntries = display == 1 ? 2 : 16;
        for (int i = 0; i < lp->palNumEntries; ++i) {
            lp->palPalEntry[i].peRed = from[i].rgbRed;
            lp->palPalEntry[i].peGreen = from[i].rgbGreen;
            lp->palPalEntry[i].peBlue = from[i].rgbBlue;
        }
        palette = CreatePalette(lp);
        free(lp);
    }
    HPALETTE old = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
    if (palette) RealizePalette(screen);

    size_t stride4 = (((size_t)src.width * 4 + 31) >> 5) * 4;
    BYTE *line = static_cast<BYTE *>(calloc(1, stride4 ? stride4 : 1));
    bool ok = line != nullptr;
    const RGBQUAD *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(src.header) +
                                                             src.header->biSize);
    DWORD tableCount = ZYN_DIB_NumColors(src.header);
    for (LONG row = 0; ok && row < src.rows; ++row) {
        const BYTE *from = src.bits + row * src.stride;
        if (src.header->biBitCount == 8) {
            zyn_halftone_row_4(from, table, tableCount, line, src.width, row);
            SetDIBits(screen, bitmap, (UINT)row, 1, line, reinterpret_cast<BITMAPINFO *>(&row4), DIB_RGB_COLORS);
        } else {
            SetDIBits(screen, bitmap, (UINT)row, 1, from, reinterpret_cast<BITMAPINFO *>(src.header), DIB_RGB_COLORS);
        }
    }
    free(line);
    if (palette) {
        SelectPalette(screen, old, TRUE);
        DeleteObject(palette);
    }
    if (!ok) {
        DeleteObject(bitmap);
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    return bitmap;
}

}  // namespace

extern "C" HBITMAP WINAPI ZYN_DIB_BitmapFromDIB(HGLOBAL dib, HPALETTE palette, LPARAM passOn, BOOL dither,
                                               int alphaMode) {
    (void)passOn;  // handed on to the transfer by contract; it changes nothing
    BITMAPINFOHEADER *header;
    BYTE *bits;
    if (!dib) return nullptr;
    if (!ZYN_DIB_LockPtrs(dib, &header, nullptr, &bits)) {
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        return nullptr;
    }
    // The transfers read the 40-byte header form and every row.
    if (header->biSize < sizeof(BITMAPINFOHEADER) || !zyn_dib_rows_inside(dib, header, bits)) {
        GlobalUnlock(dib);
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        return nullptr;
    }
    DibView src = view_of(header, bits);
    int display = zyn_display_bits();

    HGLOBAL reduced = nullptr;
    BITMAPINFOHEADER *reducedHeader = nullptr;
    if ((header->biBitCount == 24 || header->biBitCount == 32) && header->biCompression == BI_RGB && display <= 8) {
        reduced = reduce_for_display(src, palette, dither, display, alphaMode);
        if (!reduced || !ZYN_DIB_LockPtrs(reduced, &reducedHeader, nullptr, &bits)) {
            if (reduced) GlobalFree(reduced);
            GlobalUnlock(dib);
            zyn_report(IDS_ZYN_NOMEM);
            return nullptr;
        }
        src = view_of(reducedHeader, bits);
    }

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap;
    if (dither && display < src.header->biBitCount && display < 16 && src.header->biCompression == BI_RGB) {
        bitmap = dithered_transfer(screen, src, display);
    } else {
        HPALETTE old = palette ? SelectPalette(screen, palette, FALSE) : nullptr;
        if (palette) RealizePalette(screen);
        bitmap = ordinary_transfer(screen, src);
        if (palette) SelectPalette(screen, old, TRUE);
    }
    ReleaseDC(nullptr, screen);

    if (reduced) {
        GlobalUnlock(reduced);
        GlobalFree(reduced);
    }
    GlobalUnlock(dib);
    return bitmap;
}
