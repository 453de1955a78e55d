// The half-step table: for every pair of palette entries, the entry nearest
// to their mean.  One table exists at a time; it may be kept in a file of
// exactly its 65,536 bytes.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "depth_internal.h"
#include "zyn_internal.h"

namespace {

const size_t kTableBytes = 65536;
BYTE *g_half_steps = nullptr;

int color_distance(const RGBQUAD &q, int red, int green, int blue) {
    return abs(q.rgbRed - red) + abs(q.rgbGreen - green) + abs(q.rgbBlue - blue);
}

BYTE nearest_quad(const RGBQUAD *colors, DWORD count, int red, int green, int blue) {
    DWORD best = 0;
    int bestDistance = color_distance(colors[0], red, green, blue);
    for (DWORD k = 1; k < count && bestDistance > 0; k++) {
        int d = color_distance(colors[k], red, green, blue);
        if (d < bestDistance) best = k, bestDistance = d;
    }
    return (BYTE)best;
}

bool read_table(const char *path, BYTE *table) {
    FILE *f = fopen(path, "rb");
    if (!f) return false;
    size_t got = fread(table, 1, kTableBytes, f);
    // Exactly the table: a longer file belongs to something else.
    bool exact = got == kTableBytes && fgetc(f) == EOF;
    fclose(f);
    return exact;
}

void write_table(const char *path, const BYTE *table) {
    FILE *f = fopen(path, "wb");
    if (!f) return;
    bool ok = fwrite(table, 1, kTableBytes, f) == kTableBytes;
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        remove(path);
        zyn_message(IDS_ZYN_HS_WRITE_ERROR);
    }
}

}  // namespace

extern "C" void zyn_build_half_steps(const RGBQUAD *colors, DWORD count, BYTE *table) {
    memset(table, 0, kTableBytes);
    if (count > 256) count = 256;
    if (count == 0) return;
    for (DWORD i = 0; i < count; i++)
        for (DWORD j = 0; j <= i; j++) {
            BYTE n = nearest_quad(colors, count, (colors[i].rgbRed + colors[j].rgbRed) >> 1,
                                  (colors[i].rgbGreen + colors[j].rgbGreen) >> 1,
                                  (colors[i].rgbBlue + colors[j].rgbBlue) >> 1);
            table[i + 256 * j] = n;
            table[j + 256 * i] = n;
        }
}

extern "C" const BYTE *zyn_half_steps(void) { return g_half_steps; }

extern "C" BOOL WINAPI ZYN_DIB_InitHSMatch(HGLOBAL dib, LPCSTR path) {
    BYTE *table = static_cast<BYTE *>(malloc(kTableBytes));
    if (!table) return FALSE;
    if (!path || !read_table(path, table)) {
        ZynDibLayout l;
        const BYTE *p = dib ? static_cast<const BYTE *>(GlobalLock(dib)) : nullptr;
        // A table for a DIB without a readable color table maps everything to 0.
        if (p && zyn_dib_layout(p, GlobalSize(dib), &l) && !l.core)
            zyn_build_half_steps(reinterpret_cast<const RGBQUAD *>(p + l.headerSize), l.colors, table);
        else
            memset(table, 0, kTableBytes);
        if (p) GlobalUnlock(dib);
        if (path) write_table(path, table);
    }
    free(g_half_steps);
    g_half_steps = table;
    return TRUE;
}

extern "C" void WINAPI ZYN_DIB_ExitHSMatch(void) {
    free(g_half_steps);
    g_half_steps = nullptr;
}
