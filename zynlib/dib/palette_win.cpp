// Logical palettes from DIB color tables and for the display.
#include <stdlib.h>
#include <string.h>

#include "dib_internal.h"
#include "zyn_internal.h"

namespace {

// A LOGPALETTE with room for `count` entries; null after reporting.
LOGPALETTE *new_logpalette(UINT count) {
    LOGPALETTE *lp =
        static_cast<LOGPALETTE *>(calloc(1, sizeof(LOGPALETTE) + (count ? count - 1 : 0) * sizeof(PALETTEENTRY)));
    if (!lp) {
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)count;
    return lp;
}

HPALETTE finish(LOGPALETTE *lp) {
    HPALETTE palette = CreatePalette(lp);
    free(lp);
    if (!palette) zyn_report(IDS_ZYN_NOMEM);  // GDI is out of room for it
    return palette;
}

HPALETTE from_quads(const RGBQUAD *quads, UINT count) {
    LOGPALETTE *lp = new_logpalette(count);
    if (!lp) return nullptr;
    for (UINT i = 0; i < count; ++i) {
        lp->palPalEntry[i].peRed = quads[i].rgbRed;
        lp->palPalEntry[i].peGreen = quads[i].rgbGreen;
        lp->palPalEntry[i].peBlue = quads[i].rgbBlue;
    }
    return finish(lp);
}

}  // namespace

extern "C" HPALETTE WINAPI ZYN_DIB_CreateBIPalette(const BITMAPINFOHEADER *header) {
    if (!header) return nullptr;
    UINT count = ZYN_DIB_NumColors(header);
    const BYTE *table = reinterpret_cast<const BYTE *>(header) + header->biSize;
    if (count == 0) {
        // No table: a true-color DIB is shown through the 3-3-2 palette.
        if (header->biSize == sizeof(BITMAPCOREHEADER) || header->biBitCount < 24) return nullptr;
        RGBQUAD quads[256];
        zyn_fill_332(quads);
        return from_quads(quads, 256);
    }
    if (header->biSize != sizeof(BITMAPCOREHEADER)) return from_quads(reinterpret_cast<const RGBQUAD *>(table), count);
    // The short form has 3-byte entries.
    LOGPALETTE *lp = new_logpalette(count);
    if (!lp) return nullptr;
    const RGBTRIPLE *triples = reinterpret_cast<const RGBTRIPLE *>(table);
    for (UINT i = 0; i < count; ++i) {
        lp->palPalEntry[i].peRed = triples[i].rgbtRed;
        lp->palPalEntry[i].peGreen = triples[i].rgbtGreen;
        lp->palPalEntry[i].peBlue = triples[i].rgbtBlue;
    }
    return finish(lp);
}

extern "C" HPALETTE WINAPI ZYN_DIB_CreatePalette(HGLOBAL dib) {
    BITMAPINFOHEADER *header;
    if (!ZYN_DIB_LockPtrs(dib, &header, nullptr, nullptr)) return nullptr;
    HPALETTE palette = ZYN_DIB_CreateBIPalette(header);
    GlobalUnlock(dib);
    return palette;
}

extern "C" BOOL WINAPI ZYN_DIB_DeletePalette(HPALETTE palette) { return palette ? DeleteObject(palette) : FALSE; }

extern "C" HPALETTE WINAPI ZYN_DIB_GetCurrentPalette(void) {
    int bits = zyn_display_bits();
    if (bits > 8) return nullptr;
    if (bits == 8) {
        LOGPALETTE *lp = new_logpalette(256);
        if (!lp) return nullptr;
        HDC screen = GetDC(nullptr);
        GetSystemPaletteEntries(screen, 0, 256, lp->palPalEntry);
        ReleaseDC(nullptr, screen);
        for (UINT i = 0; i < 256; ++i) lp->palPalEntry[i].peFlags = 0;
        return finish(lp);
    }
    if (bits == 4) {
        // The 16-color display keeps its grays the other way round.
        RGBQUAD quads[16];
        memcpy(quads, zyn_default16, sizeof quads);
        quads[7] = zyn_default16[8];
        quads[8] = zyn_default16[7];
        return from_quads(quads, 16);
    }
    const RGBQUAD mono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    return from_quads(mono, 2);
}
