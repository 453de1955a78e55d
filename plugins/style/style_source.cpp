// Sources the filters cannot read directly: the row routines read 1, 3 or
// 4 bytes a pixel, so 1- and 4-bit images are widened to 8 bits first,
// and a 12-byte core header is rewritten as a 40-byte one.
#include <string.h>

#include "style_internal.h"

namespace {

// A 40-byte-header copy of a core-header DIB: same rows, table entries
// widened to four bytes.  0 after reporting.
HGLOBAL info_copy_of_core(const BYTE *block, const ZynDibLayout &l) {
    uint64_t rows;
    if (!zyn_dib_packed_size(l.width, l.height, l.bitCount, &rows) || rows > l.block - l.bitsOffset ||
        l.width <= 0 || l.height <= 0) {
        sty_report(IDS_STY_ILLEGAL_IMAGE);
        return nullptr;
    }
    size_t tableBytes = (size_t)l.colors * sizeof(RGBQUAD);
    HGLOBAL copy = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + tableBytes + (size_t)rows);
    BYTE *p = copy ? static_cast<BYTE *>(GlobalLock(copy)) : nullptr;
    if (!p) {
        if (copy) GlobalFree(copy);
        sty_report_nomem();
        return nullptr;
    }
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = l.width;
    h.biHeight = l.height;
    h.biPlanes = 1;
    h.biBitCount = l.bitCount;
    h.biSizeImage = (DWORD)rows;
    h.biClrUsed = l.colors;
    memcpy(p, &h, sizeof h);
    RGBQUAD *table = reinterpret_cast<RGBQUAD *>(p + sizeof h);
    const BYTE *triples = block + l.headerSize;
    for (DWORD i = 0; i < l.colors; i++)
        table[i] = RGBQUAD{triples[3 * i], triples[3 * i + 1], triples[3 * i + 2], 0};
    memcpy(p + sizeof h + tableBytes, block + l.bitsOffset, (size_t)rows);
    GlobalUnlock(copy);
    return copy;
}

// 0 when the block is not a DIB at all (reported); the copy in *copy.
int core_to_info(HGLOBAL dib, HGLOBAL *copy, WORD *bits) {
    *copy = nullptr;
    const BYTE *p = dib ? static_cast<const BYTE *>(GlobalLock(dib)) : nullptr;
    ZynDibLayout l;
    if (!p || !zyn_dib_layout(p, GlobalSize(dib), &l)) {
        if (p) GlobalUnlock(dib);
        sty_report(IDS_STY_ILLEGAL_IMAGE);
        return 0;
    }
    *bits = l.bitCount;
    int ok = 1;
    if (l.core) ok = (*copy = info_copy_of_core(p, l)) != nullptr;
    GlobalUnlock(dib);
    return ok;
}

}  // namespace

extern "C" HGLOBAL sty_readable_source(HGLOBAL dib, HGLOBAL *temporary) {
    *temporary = nullptr;
    HGLOBAL info = nullptr;
    WORD bits = 0;
    if (!core_to_info(dib, &info, &bits)) return nullptr;
    HGLOBAL source = info ? info : dib;
    if (bits != 1 && bits != 4) {
        *temporary = info;
        return source;
    }
    HGLOBAL wide = ZYN_DIB_IncreaseBpp(source, 8);  // reports its own failures
    if (info) GlobalFree(info);
    *temporary = wide;
    return wide;
}
