// ZYN_DIB_CutToPalette of the Windows build: the palette object's entries.
#include <stdlib.h>

#include "depth_internal.h"

extern "C" HGLOBAL WINAPI ZYN_DIB_CutToPalette(HGLOBAL dib, HPALETTE palette) {
    if (!palette) return nullptr;
    WORD count = 0;
    if (!GetObjectA(palette, sizeof count, &count) || count == 0) return nullptr;
    PALETTEENTRY *entries = static_cast<PALETTEENTRY *>(malloc(count * sizeof(PALETTEENTRY)));
    if (!entries) return nullptr;
    HGLOBAL out = nullptr;
    if (GetPaletteEntries(palette, 0, count, entries) == count) out = zyn_cut_to_entries(dib, entries, count);
    free(entries);
    return out;
}
