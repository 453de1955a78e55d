// Copying and repairing DIB blocks.  Each operation checks the header it
// reads against the block before moving a byte: DIBs come from files.
#include <string.h>

#include "dib_internal.h"
#include "zyn_internal.h"

extern "C" HGLOBAL WINAPI ZYN_DIB_Copy(HGLOBAL dib) {
    if (!dib) return nullptr;
    const BYTE *src = static_cast<const BYTE *>(GlobalLock(dib));
    if (!src) return nullptr;
    ZynDibLayout l;
    uint64_t pixels;
    HGLOBAL copy = nullptr;
    if (zyn_dib_layout(src, GlobalSize(dib), &l) && zyn_dib_pixel_bytes(&l, &pixels)) {
        size_t bytes = l.bitsOffset + (size_t)pixels;
        copy = GlobalAlloc(GMEM_MOVEABLE, bytes);
        BYTE *dst = copy ? static_cast<BYTE *>(GlobalLock(copy)) : nullptr;
        if (dst) {
            memcpy(dst, src, bytes);
            GlobalUnlock(copy);
        } else if (copy) {
            GlobalFree(copy);
            copy = nullptr;
        }
    }
    GlobalUnlock(dib);
    return copy;
}

namespace {

// Moves rows stored at packedStride up to their padded places, last row
// first so that no row is overwritten before it has moved; the padding
// bytes are cleared.
void spread_rows(BYTE *bits, size_t rows, size_t packedStride, size_t rightStride) {
    for (size_t r = rows; r-- > 0;) {
        BYTE *to = bits + r * rightStride;
        memmove(to, bits + r * packedStride, packedStride);
        memset(to + packedStride, 0, rightStride - packedStride);
    }
}

void set_size_image(HGLOBAL dib, DWORD bytes) {
    BITMAPINFOHEADER *h = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
    h->biSizeImage = bytes;
    GlobalUnlock(dib);
}

HGLOBAL refuse(HGLOBAL dib) {
    GlobalUnlock(dib);
    zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
    return nullptr;
}

}  // namespace

extern "C" HGLOBAL WINAPI ZYN_DIB_FixDIBAlignment(HGLOBAL dib) {
    if (!dib) return nullptr;
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(dib));
    if (!p) return nullptr;
    size_t blockSize = GlobalSize(dib);
    ZynDibLayout l;
    if (!zyn_dib_layout(p, blockSize, &l)) return refuse(dib);
    // Only an uncompressed DIB with the 40-byte header is examined.
    if (l.core || l.headerSize != sizeof(BITMAPINFOHEADER) || l.compression != BI_RGB) {
        GlobalUnlock(dib);
        return dib;
    }
    // The present stride is a division by the height: a DIB without rows
    // (or upside-down rows counted negative) cannot be measured.
    uint64_t rightStride;
    if (l.height <= 0 || !zyn_dib_stride(l.width, l.bitCount, &rightStride)) return refuse(dib);
    uint64_t rows = (uint64_t)l.height;
    uint64_t presentStride = l.sizeImage / rows;
    if (presentStride == rightStride) {
        GlobalUnlock(dib);
        return dib;
    }
    uint64_t rightBytes = rightStride * rows;  // < 2^47 x 2^31: fits in 64 bits
    if (rightBytes > 0xFFFFFFFFu) return refuse(dib);
    if (blockSize - l.bitsOffset >= rightBytes) {
        // The rows are padded already; only the recorded size was wrong.
        GlobalUnlock(dib);
        set_size_image(dib, (DWORD)rightBytes);
        return dib;
    }
    // Packed rows must be whole, long enough for their pixels, shorter than
    // padded ones, and really present in the block; so the grown block is
    // never more than a few times the one given.
    uint64_t pixelBytes = ((uint64_t)l.width * l.bitCount + 7) / 8;
    if (l.sizeImage % rows != 0 || presentStride < pixelBytes || presentStride > rightStride || l.sizeImage == 0 ||
        l.sizeImage > blockSize - l.bitsOffset)
        return refuse(dib);
    size_t offset = l.bitsOffset;
    GlobalUnlock(dib);

    HGLOBAL grown = GlobalReAlloc(dib, offset + (size_t)rightBytes, GMEM_MOVEABLE);
    if (!grown) {
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    ZYN_ERR_ErrorID(zyn_instance(), ZYN_ERR_LEVEL_WARNING, IDS_ZYN_BAD_ALIGNMENT);
    BYTE *q = static_cast<BYTE *>(GlobalLock(grown));
    spread_rows(q + offset, (size_t)rows, (size_t)presentStride, (size_t)rightStride);
    reinterpret_cast<BITMAPINFOHEADER *>(q)->biSizeImage = (DWORD)rightBytes;
    GlobalUnlock(grown);
    return grown;
}

extern "C" void WINAPI ZYN_DIB_FixPalette(HGLOBAL dib) {
    if (!dib) return;
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    if (!p) return;
    ZynDibLayout l;
    uint64_t pixels;
    int ok = zyn_dib_layout(p, GlobalSize(dib), &l);
    if (ok && (l.core || l.bitCount != 24 || l.colors == 0)) {
        GlobalUnlock(dib);  // nothing to fix
        return;
    }
    if (!ok || !zyn_dib_pixel_bytes(&l, &pixels)) {
        GlobalUnlock(dib);
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
        return;
    }
    // A 24-bit DIB needs no table: move the rows down over it.
    memmove(p + l.headerSize, p + l.bitsOffset, (size_t)pixels);
    reinterpret_cast<BITMAPINFOHEADER *>(p)->biClrUsed = 0;
    GlobalUnlock(dib);
}
