// ZYN_DIB_Compress: converts a DIB between uncompressed rows, RLE8 and
// RLE4, one row at a time (decode the source row, give the interface a
// turn, encode the row).  Also how loaders expand compressed files.
#include <stdlib.h>
#include <string.h>

#include "dib_internal.h"
#include "rle_internal.h"
#include "zyn_internal.h"

namespace {

const uint64_t kMax32 = 0xFFFFFFFFu;

// Which bit counts each compression can carry: RLE8 codes bytes, so it
// also holds the rows of 1- and 4-bit images; RLE4 codes 4-bit pixels.
bool depth_fits(DWORD compression, WORD bits) {
    switch (compression) {
    case BI_RGB: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BI_RLE8: return bits == 1 || bits == 4 || bits == 8;
    case BI_RLE4: return bits == 4;
    default: return false;
    }
}

struct Source {
    const BYTE *block;
    ZynDibLayout layout;
    uint64_t stride;
    uint64_t rawBytes;   // stride x height
    const BYTE *bits;
    size_t bitsBytes;    // what the source's pixel data may be read from
};

// A locked resource has no block size to check against; it is part of a
// module the program ships, so its header is taken at its word.
size_t resource_extent(const BYTE *p) {
    ZynDibLayout l;
    if (!zyn_dib_layout(p, (size_t)-1 / 2, &l)) return 0;
    uint64_t pixels = l.sizeImage;
    if (pixels == 0 && !zyn_dib_packed_size(l.width, l.height, l.bitCount, &pixels)) return 0;
    return l.bitsOffset + (size_t)pixels;
}

bool open_source(const BYTE *p, size_t blockSize, Source *s) {
    memset(s, 0, sizeof *s);
    ZynDibLayout &l = s->layout;
    if (!zyn_dib_layout(p, blockSize, &l) || l.core) return false;
    if (l.width <= 0 || l.height <= 0 || !depth_fits(l.compression, l.bitCount)) return false;
    if (!zyn_dib_packed_size(l.width, l.height, l.bitCount, &s->rawBytes)) return false;
    zyn_dib_stride(l.width, l.bitCount, &s->stride);
    size_t room = blockSize - l.bitsOffset;
    if (l.compression == BI_RGB) {
        if (s->rawBytes > room) return false;  // rows missing from the block
        s->bitsBytes = (size_t)s->rawBytes;
    } else {
        uint64_t n;
        if (!zyn_dib_pixel_bytes(&l, &n)) return false;
        s->bitsBytes = (size_t)n;
    }
    s->block = p;
    s->bits = p + l.bitsOffset;
    return true;
}

// The output's pixel capacity: the exact size uncompressed, the worst
// case of the encoder otherwise.
bool output_capacity(const Source &s, DWORD compression, uint64_t *bytes) {
    if (compression == BI_RGB) {
        *bytes = s.rawBytes;
        return true;
    }
    uint64_t perRow = zyn_rle_row_bound((size_t)s.stride);
    *bytes = perRow * (uint64_t)s.layout.height + 2;  // < 2^33 x 2^31
    return *bytes <= kMax32;
}

HGLOBAL fail(HGLOBAL work, UINT id) {
    if (work) {
        GlobalUnlock(work);
        GlobalFree(work);
    }
    zyn_report(id);
    return nullptr;
}

HGLOBAL convert(const Source &s, DWORD compression) {
    const ZynDibLayout &l = s.layout;
    uint64_t capacity;
    if (!output_capacity(s, compression, &capacity) || l.bitsOffset + capacity > (uint64_t)SIZE_MAX / 2)
        return fail(nullptr, IDS_ZYN_NOMEM);
    HGLOBAL work = GlobalAlloc(GMEM_MOVEABLE, l.bitsOffset + (size_t)capacity);
    BYTE *w = work ? static_cast<BYTE *>(GlobalLock(work)) : nullptr;
    if (!w) {
        if (work) GlobalFree(work);
        return fail(nullptr, IDS_ZYN_NOMEM);
    }
    const size_t stride = (size_t)s.stride;
    BYTE *row = static_cast<BYTE *>(malloc(stride ? stride : 1));
    if (!row) return fail(work, IDS_ZYN_NOMEM);

    memcpy(w, s.block, l.bitsOffset);  // header and color table
    ZynRleOut out = {w + l.bitsOffset, (size_t)capacity, 0, 0};
    ZynRleDecoder dec;
    zyn_rle_decoder_init(&dec, s.bits, s.bitsBytes, l.compression == BI_RLE4, stride, (size_t)l.height);
    for (LONG r = 0; r < l.height; r++) {
        if (l.compression == BI_RGB) {
            memcpy(row, s.bits + (size_t)r * stride, stride);
        } else if (!zyn_rle_decode_row(&dec, row)) {
            free(row);
            return fail(work, IDS_ZYN_RLE_ERROR);
        }
        ZYN_EVT_Background();
        if (compression == BI_RLE8)
            zyn_rle8_encode_row(row, stride, &out);
        else if (compression == BI_RLE4)
            zyn_rle4_encode_row(row, (size_t)l.width, &out);
        else {
            memcpy(out.data + out.used, row, stride);
            out.used += stride;
        }
    }
    free(row);
    if (compression != BI_RGB) zyn_rle_end_bitmap(&out);
    if (out.overflow) return fail(work, IDS_ZYN_NOMEM);  // the bound above is wrong

    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(w);
    h->biCompression = compression;
    h->biSizeImage = (DWORD)out.used;
    GlobalUnlock(work);
    HGLOBAL shrunk = GlobalReAlloc(work, l.bitsOffset + out.used, GMEM_MOVEABLE);
    return shrunk ? shrunk : work;  // a block that cannot shrink is still right
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_Compress(HGLOBAL source, BOOL resource, DWORD compression) {
    if (!source) return nullptr;
    const BYTE *p;
    size_t blockSize;
    if (resource) {
        p = static_cast<const BYTE *>(source);
        blockSize = resource_extent(p);
    } else {
        p = static_cast<const BYTE *>(GlobalLock(source));
        if (!p) return nullptr;
        blockSize = GlobalSize(source);
    }
    Source s;
    HGLOBAL result;
    if (!open_source(p, blockSize, &s) || !depth_fits(compression, s.layout.bitCount)) {
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        result = nullptr;
    } else {
        result = convert(s, compression);
    }
    if (!resource) GlobalUnlock(source);
    return result;
}
