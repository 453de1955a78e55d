// Tile: the image repeated across x down times.  With mirroring every
// second tile of a row is mirrored left to right and every second tile
// row is upside down, counted from the top, so the top-left tile is
// always the image itself.  Counts and sizes are checked in 64 bits before
// anything is stored: a 16-bit width times a count could wrap to 0.
#include <stdlib.h>

#include "ops_internal.h"

extern "C" int img_tile(HGLOBAL dib, const ImgTileParams *p, HGLOBAL *out) {
    *out = nullptr;
    if (p->across == 0 || p->down == 0) return IMG_BAD_PARAMS;
    if (p->across < 2 && p->down < 2) return IMG_UNCHANGED;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    uint64_t width = (uint64_t)p->across * (uint64_t)src.width;
    uint64_t height = (uint64_t)p->down * (uint64_t)src.height;
    ImgTarget dst;
    BYTE *mirrored = nullptr;
    if (width > IMG_TILE_MAX_SIDE || height > IMG_TILE_MAX_SIDE)
        status = IMG_BAD_PARAMS;
    else
        status = img_target_like(&src, (LONG)width, (LONG)height, &dst);
    if (status == IMG_OK && p->mirror && p->across > 1 && !(mirrored = static_cast<BYTE *>(malloc(src.stride)))) {
        img_target_discard(&dst);
        status = IMG_NO_MEMORY;
    }
    if (status == IMG_OK) {
        for (LONG y = 0; y < dst.height; y++) {
            LONG tileRow = y / src.height, inTile = y % src.height;
            bool upright = !p->mirror || ((p->down - 1 - (DWORD)tileRow) & 1) == 0;
            const BYTE *row = img_source_row(&src, upright ? inTile : src.height - 1 - inTile);
            if (mirrored) img_mirror_row(row, mirrored, src.width, src.bitCount);
            BYTE *to = img_target_row(&dst, y);
            for (DWORD t = 0; t < p->across; t++)
                img_place_row(mirrored && (t & 1) ? mirrored : row, to, (size_t)t * (size_t)src.width, src.width,
                              src.bitCount);
        }
        status = img_target_finish(&dst, out);
    }
    free(mirrored);
    img_source_close(&src);
    return status;
}
