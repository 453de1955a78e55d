// ZYN_DIB_CutToPalette: any DIB reduced to a given palette by nearest color,
// with one remembered answer per 18-bit color key.  Index 0 doubles as the
// empty mark, so colors nearest to entry 0 are searched every time.
#include <stdlib.h>
#include <string.h>

#include "depth_internal.h"

namespace {

const size_t kCacheBytes = 1 << 18;

inline int distance(const PALETTEENTRY &e, int red, int green, int blue) {
    return abs(e.peRed - red) + abs(e.peGreen - green) + abs(e.peBlue - blue);
}

// Unpacks one source row to blue, green, red triples.
void row_to_bgr(const ZynImage &img, const BYTE *s, BYTE *index, BYTE *bgr) {
    if (img.bitCount < 24) {
        zyn_unpack_indices(s, img.bitCount, img.width, index);
        for (LONG x = 0; x < img.width; x++, bgr += 3) {
            RGBQUAD q = zyn_entry(img.table, img.colors, index[x]);
            bgr[0] = q.rgbBlue, bgr[1] = q.rgbGreen, bgr[2] = q.rgbRed;
        }
        return;
    }
    size_t px = img.bitCount / 8;
    for (LONG x = 0; x < img.width; x++, s += px, bgr += 3) bgr[0] = s[0], bgr[1] = s[1], bgr[2] = s[2];
}

void pack_indices(const BYTE *index, LONG width, WORD bits, BYTE *d) {
    if (bits == 8) {
        memcpy(d, index, (size_t)width);
        return;
    }
    for (LONG x = 0; x < width; x++) {
        if (bits == 4)
            d[x >> 1] |= (x & 1) ? index[x] : (BYTE)(index[x] << 4);
        else if (index[x] & 1)
            d[x >> 3] |= (BYTE)(0x80 >> (x & 7));
    }
}

}  // namespace

extern "C" BYTE zyn_nearest_entry(const PALETTEENTRY *entries, UINT count, int red, int green, int blue) {
    UINT best = 0;
    int bestDistance = distance(entries[0], red, green, blue);
    for (UINT k = 1; k < count && bestDistance > 0; k++) {
        int d = distance(entries[k], red, green, blue);
        if (d < bestDistance) best = k, bestDistance = d;
    }
    return (BYTE)best;
}

extern "C" HGLOBAL zyn_cut_to_entries(HGLOBAL dib, const PALETTEENTRY *entries, UINT count) {
    if (!entries || count == 0 || count > 256) return nullptr;
    ZynImage img;
    if (!zyn_image_open(dib, &img)) return nullptr;
    WORD bits = count > 16 ? 8 : count < 3 ? 1 : 4;
    HGLOBAL out = nullptr;
    BITMAPINFOHEADER model = *img.header;
    model.biXPelsPerMeter = model.biYPelsPerMeter = 0;
    model.biClrImportant = count;
    BYTE *cache = static_cast<BYTE *>(calloc(kCacheBytes, 1));
    BYTE *index = static_cast<BYTE *>(malloc((size_t)img.width));
    BYTE *bgr = static_cast<BYTE *>(malloc((size_t)img.width * 3));
    BYTE *p = cache && index && bgr ? zyn_new_dib(&model, img.width, img.height, bits, count, &out) : nullptr;
    if (p) {
        RGBQUAD *table = zyn_new_table(p);
        for (UINT k = 0; k < count; k++)
            table[k] = RGBQUAD{entries[k].peBlue, entries[k].peGreen, entries[k].peRed, 0};
        uint64_t stride;
        zyn_dib_stride(img.width, bits, &stride);
        BYTE *d = zyn_new_bits(p);
        for (LONG y = 0; y < img.height; y++, d += stride) {
            row_to_bgr(img, img.bits + (size_t)y * img.stride, index, bgr);
            const BYTE *c = bgr;
            for (LONG x = 0; x < img.width; x++, c += 3) {
                size_t key = ((size_t)(c[2] >> 2) << 12) | ((size_t)(c[1] >> 2) << 6) | (size_t)(c[0] >> 2);
                BYTE found = cache[key];
                if (!found) found = cache[key] = zyn_nearest_entry(entries, count, c[2], c[1], c[0]);
                index[x] = found;
            }
            pack_indices(index, img.width, bits, d);
        }
        GlobalUnlock(out);
    }
    free(cache);
    free(index);
    free(bgr);
    zyn_image_close(&img);
    return out;
}

#ifndef _WIN32
extern "C" HGLOBAL WINAPI ZYN_DIB_CutToPalette(HGLOBAL dib, const LOGPALETTE *palette) {
    if (!palette) return nullptr;
    return zyn_cut_to_entries(dib, palette->palPalEntry, palette->palNumEntries);
}
#endif
