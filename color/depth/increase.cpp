// Increasing the depth of an image: palette targets keep the indices under
// a table of 2^bits entries (the source's entries first, the rest black);
// true-color targets take each index's entry.  Level 16 is 24 bits with
// every channel & 0xF8; level 32 carries the given alpha byte.
#include <stdlib.h>
#include <string.h>

#include "color/depth/depth.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

struct Source {
    const BITMAPINFOHEADER *header;
    const RGBQUAD *table;
    DWORD colors;
    const BYTE *bits;
    size_t stride;
    LONG width, height;
    WORD bitCount;
};

size_t stride_of(LONG width, WORD bits) { return (((size_t)bits * (size_t)width + 31) >> 5) * 4; }

// Locks an uncompressed 1-, 4-, 8- or 24-bit DIB whose rows lie in its block.
bool open_source(HGLOBAL dib, Source *s) {
    BITMAPINFOHEADER *h;
    RGBQUAD *table;
    BYTE *bits;
    if (!dib || !ZYN_DIB_LockPtrs(dib, &h, &table, &bits)) return false;
    WORD b = h->biBitCount;
    bool ok = h->biSize >= sizeof(BITMAPINFOHEADER) && h->biCompression == BI_RGB && h->biWidth > 0 &&
              h->biHeight > 0 && (b == 1 || b == 4 || b == 8 || b == 24);
    if (ok) {
        s->header = h;
        s->table = table;
        s->colors = ZYN_DIB_NumColors(h);
        s->bits = bits;
        s->width = h->biWidth;
        s->height = h->biHeight;
        s->bitCount = b;
        s->stride = stride_of(h->biWidth, b);
        size_t have = GlobalSize(dib) - (size_t)(bits - reinterpret_cast<BYTE *>(h));
        ok = s->stride != 0 && s->stride * (size_t)s->height / (size_t)s->height == s->stride &&
             s->stride * (size_t)s->height <= have;
    }
    if (!ok) GlobalUnlock(dib);
    return ok;
}

// Bits of the DIB that makes a level.
WORD bits_of_level(int level) { return level == 16 ? 24 : (WORD)level; }

bool increase_allowed(WORD from, int level) {
    switch (level) {
    case 4:
    case 8:
    case 16: return from <= level && from != 24;
    case 24:
    case 32: return true;
    default: return false;
    }
}

void unpack(const BYTE *row, WORD bits, LONG width, BYTE *out) {
    for (LONG x = 0; x < width; x++) {
        if (bits == 8)
            out[x] = row[x];
        else if (bits == 4)
            out[x] = (x & 1) ? (BYTE)(row[x >> 1] & 0x0F) : (BYTE)(row[x >> 1] >> 4);
        else
            out[x] = (BYTE)((row[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

void write_row(const Source &s, const BYTE *src, const BYTE *index, int level, BYTE alpha, BYTE *d) {
    if (level == 8) {
        memcpy(d, index, (size_t)s.width);
        return;
    }
    if (level == 4) {
        for (LONG x = 0; x < s.width; x += 2)
            *d++ = (BYTE)((index[x] << 4) | (x + 1 < s.width ? index[x + 1] & 0x0F : 0));
        return;
    }
    BYTE mask = level == 16 ? 0xF8 : 0xFF;
    for (LONG x = 0; x < s.width; x++) {
        BYTE bgr[3];
        if (s.bitCount == 24) {
            memcpy(bgr, src + 3 * (size_t)x, 3);
        } else if (index[x] < s.colors) {
            const RGBQUAD &q = s.table[index[x]];
            bgr[0] = q.rgbBlue, bgr[1] = q.rgbGreen, bgr[2] = q.rgbRed;
        } else {
            bgr[0] = bgr[1] = bgr[2] = 0;
        }
        *d++ = bgr[0] & mask;
        *d++ = bgr[1] & mask;
        *d++ = bgr[2] & mask;
        if (level == 32) *d++ = alpha;
    }
}

// The new block for the level, header and table filled; null if memory or
// the size runs out.
HGLOBAL new_block(const Source &s, int level, BYTE **bits) {
    WORD outBits = bits_of_level(level);
    DWORD colors = outBits < 24 ? 1u << outBits : 0;
    size_t stride = stride_of(s.width, outBits);
    size_t rows = stride * (size_t)s.height;
    if (rows / (size_t)s.height != stride || rows > 0xFFFFFFFFu) return nullptr;
    size_t table = colors * sizeof(RGBQUAD);
    HGLOBAL h = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + table + rows);
    BYTE *p = h ? static_cast<BYTE *>(GlobalLock(h)) : nullptr;
    if (!p) {
        if (h) GlobalFree(h);
        return nullptr;
    }
    BITMAPINFOHEADER bi = *s.header;
    bi.biSize = sizeof bi;
    bi.biBitCount = outBits;
    bi.biSizeImage = (DWORD)rows;
    bi.biClrUsed = colors;
    bi.biClrImportant = 0;
    memcpy(p, &bi, sizeof bi);
    if (colors) {
        DWORD keep = s.colors < colors ? s.colors : colors;
        memcpy(p + sizeof bi, s.table, keep * sizeof(RGBQUAD));
    }
    *bits = p + sizeof bi + table;
    return h;
}

}  // namespace

extern "C" HGLOBAL depth_increase(HGLOBAL dib, int level, BYTE alpha) {
    Source s;
    if (!open_source(dib, &s)) {
        BITMAPINFOHEADER h;
        lc_message(MSG_ERROR, IDS_DEPTH_CANNOT_INCREASE, ZYN_DIB_Info(dib, &h) ? (unsigned)h.biBitCount : 0u);
        return nullptr;
    }
    if (!increase_allowed(s.bitCount, level)) {
        GlobalUnlock(dib);
        lc_message(MSG_ERROR, IDS_DEPTH_CANNOT_INCREASE, (unsigned)s.bitCount);
        return nullptr;
    }
    BYTE *bits = nullptr;
    HGLOBAL out = new_block(s, level, &bits);
    BYTE *index = out && s.bitCount < 24 ? static_cast<BYTE *>(malloc((size_t)s.width)) : nullptr;
    if (!out || (s.bitCount < 24 && !index)) {
        if (out) {
            GlobalUnlock(out);
            GlobalFree(out);
        }
        GlobalUnlock(dib);
        lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
        return nullptr;
    }
    size_t outStride = stride_of(s.width, bits_of_level(level));
    for (LONG y = 0; y < s.height; y++) {
        const BYTE *src = s.bits + (size_t)y * s.stride;
        if (index) unpack(src, s.bitCount, s.width, index);
        write_row(s, src, index, level, alpha, bits + (size_t)y * outStride);
    }
    free(index);
    GlobalUnlock(out);
    GlobalUnlock(dib);
    return out;
}
