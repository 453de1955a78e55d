// Size and palette arithmetic of the DIB record, and the checked layout that
// every operation on a block goes through before touching its bytes.
#include <string.h>

#include "dib_internal.h"

namespace {

const DWORD kCoreHeader = 12;
const DWORD kInfoHeader = 40;
const uint64_t kMax32 = 0xFFFFFFFFu;

DWORD read_u32(const BYTE *p) {
    DWORD v;
    memcpy(&v, p, sizeof v);
    return v;
}

WORD read_u16(const BYTE *p) {
    WORD v;
    memcpy(&v, p, sizeof v);
    return v;
}

// Entries by the color-count rule, at full width (the export cuts it to 16).
DWORD color_count(const BYTE *h) {
    if (read_u32(h) == kCoreHeader) {
        WORD bits = read_u16(h + offsetof(BITMAPCOREHEADER, bcBitCount));
        return bits < 16 ? (DWORD)1 << bits : 0;
    }
    DWORD used = read_u32(h + offsetof(BITMAPINFOHEADER, biClrUsed));
    if (used) return used;
    WORD bits = read_u16(h + offsetof(BITMAPINFOHEADER, biBitCount));
    return bits < 16 ? (DWORD)1 << bits : 0;
}

}  // namespace

extern "C" int zyn_dib_stride(LONG width, WORD bitCount, uint64_t *stride) {
    if (width < 0) return 0;
    *stride = (((uint64_t)bitCount * (uint64_t)width + 31) >> 5) * 4;
    return 1;
}

extern "C" int zyn_dib_packed_size(LONG width, LONG height, WORD bitCount, uint64_t *bytes) {
    uint64_t stride;
    if (!zyn_dib_stride(width, bitCount, &stride)) return 0;
    uint64_t rows = height < 0 ? (uint64_t)(-(int64_t)height) : (uint64_t)height;
    // stride < 2^47 and rows <= 2^31: check before multiplying.
    if (rows && stride > kMax32 / rows) return 0;
    *bytes = stride * rows;
    return 1;
}

extern "C" int zyn_dib_layout(const void *block, size_t blockSize, ZynDibLayout *out) {
    const BYTE *h = static_cast<const BYTE *>(block);
    if (!h || blockSize < sizeof(DWORD)) return 0;
    memset(out, 0, sizeof *out);
    out->block = blockSize;
    out->headerSize = read_u32(h);
    if (out->headerSize == kCoreHeader) {
        if (blockSize < kCoreHeader) return 0;
        out->core = 1;
        out->width = read_u16(h + offsetof(BITMAPCOREHEADER, bcWidth));
        out->height = read_u16(h + offsetof(BITMAPCOREHEADER, bcHeight));
        out->bitCount = read_u16(h + offsetof(BITMAPCOREHEADER, bcBitCount));
    } else {
        if (out->headerSize < kInfoHeader || out->headerSize > blockSize) return 0;
        BITMAPINFOHEADER bi;
        memcpy(&bi, h, sizeof bi);
        out->width = bi.biWidth;
        out->height = bi.biHeight;
        out->bitCount = bi.biBitCount;
        out->compression = bi.biCompression;
        out->sizeImage = bi.biSizeImage;
    }
    out->colors = color_count(h);
    // The exported count is 16 bits wide; a larger table is not a DIB.
    if (out->colors > 0xFFFF) return 0;
    out->tableBytes = (size_t)out->colors * (out->core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
    out->bitsOffset = out->headerSize + out->tableBytes;
    return out->bitsOffset <= blockSize;
}

extern "C" int zyn_dib_pixel_bytes(const ZynDibLayout *l, uint64_t *bytes) {
    uint64_t n = l->sizeImage;
    if (n == 0) {
        if (l->compression != BI_RGB) return 0;  // compressed data must say how long it is
        if (!zyn_dib_packed_size(l->width, l->height, l->bitCount, &n)) return 0;
    }
    if (n > l->block - l->bitsOffset) return 0;
    *bytes = n;
    return 1;
}

extern "C" WORD WINAPI ZYN_DIB_NumColors(const void *header) {
    return header ? (WORD)color_count(static_cast<const BYTE *>(header)) : 0;
}

extern "C" DWORD WINAPI ZYN_DIB_PaletteSize(const void *header) {
    if (!header) return 0;
    DWORD entry = read_u32(static_cast<const BYTE *>(header)) == kCoreHeader ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    return (DWORD)ZYN_DIB_NumColors(header) * entry;
}

extern "C" DWORD WINAPI ZYN_DIB_BitsToColors(UINT bits) {
    // 2^bits would not fit from 32 bits on; such depths have no table anyway.
    if (bits == 24 || bits >= 32) return 0;
    return (DWORD)1 << bits;
}

extern "C" BOOL WINAPI ZYN_DIB_Info(HGLOBAL dib, BITMAPINFOHEADER *out) {
    if (!dib || !out) return FALSE;
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(dib));
    if (!p) return FALSE;
    ZynDibLayout l;
    BOOL ok = zyn_dib_layout(p, GlobalSize(dib), &l);
    if (ok && l.core) {
        // The short form has no fields beyond the bit count: report it in the
        // long record, keeping biSize so the caller can tell.
        memset(out, 0, sizeof *out);
        out->biSize = kCoreHeader;
        out->biWidth = l.width;
        out->biHeight = l.height;
        out->biPlanes = 1;
        out->biBitCount = l.bitCount;
    } else if (ok) {
        memcpy(out, p, sizeof *out);
        uint64_t bytes;
        if (out->biSizeImage == 0) {
            if (zyn_dib_packed_size(out->biWidth, out->biHeight, out->biBitCount, &bytes))
                out->biSizeImage = (DWORD)bytes;
            else
                ok = FALSE;
        }
        if (out->biClrUsed == 0) out->biClrUsed = l.colors;
    }
    GlobalUnlock(dib);
    return ok;
}

extern "C" BOOL WINAPI ZYN_DIB_LockPtrs(HGLOBAL dib, BITMAPINFOHEADER **header, RGBQUAD **colors, BYTE **bits) {
    if (header) *header = nullptr;
    if (colors) *colors = nullptr;
    if (bits) *bits = nullptr;
    if (!dib) return FALSE;
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    if (!p) return FALSE;
    ZynDibLayout l;
    uint64_t pixels;
    // Hand out no pointer the caller could follow out of the block.
    if (!zyn_dib_layout(p, GlobalSize(dib), &l) || !zyn_dib_pixel_bytes(&l, &pixels)) {
        GlobalUnlock(dib);
        return FALSE;
    }
    if (header) *header = reinterpret_cast<BITMAPINFOHEADER *>(p);
    if (colors) *colors = reinterpret_cast<RGBQUAD *>(p + l.headerSize);
    if (bits) *bits = p + l.bitsOffset;
    return TRUE;
}

extern "C" int zyn_dib_rows_inside(HGLOBAL dib, const BITMAPINFOHEADER *header, const BYTE *bits) {
    if (header->biSize == sizeof(BITMAPCOREHEADER) || header->biCompression != BI_RGB) return 1;
    uint64_t bytes;
    size_t offset = (size_t)(bits - reinterpret_cast<const BYTE *>(header));
    return zyn_dib_packed_size(header->biWidth, header->biHeight, header->biBitCount, &bytes) &&
           bytes <= GlobalSize(dib) - offset;
}
