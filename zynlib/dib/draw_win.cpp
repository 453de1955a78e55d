// Drawing device bitmaps and DIBs onto a device context.
#include "dib_internal.h"
#include "zyn_internal.h"

namespace {

// Runs a blit of the whole bitmap from a memory context selecting it.
template <typename Blit>
BOOL with_bitmap(HDC dc, HBITMAP bitmap, Blit blit) {
    BITMAP bm;
    if (!dc || !bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return FALSE;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return FALSE;
    HGDIOBJ old = SelectObject(memory, bitmap);
    BOOL ok = blit(memory, bm.bmWidth, bm.bmHeight);
    SelectObject(memory, old);
    DeleteDC(memory);
    return ok;
}

}  // namespace

extern "C" BOOL WINAPI ZYN_DIB_DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, BOOL invert) {
    return ZYN_DIB_DrawBitmapEx(dc, x, y, bitmap, invert ? NOTSRCCOPY : SRCCOPY);
}

extern "C" BOOL WINAPI ZYN_DIB_StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, BOOL invert) {
    return with_bitmap(dc, bitmap, [&](HDC memory, int w, int h) {
        return StretchBlt(dc, x, y, w, h, memory, 0, 0, w, h, invert ? NOTSRCCOPY : SRCCOPY);
    });
}

extern "C" BOOL WINAPI ZYN_DIB_DrawBitmapEx(HDC dc, int x, int y, HBITMAP bitmap, DWORD rop) {
    return with_bitmap(dc, bitmap,
                       [&](HDC memory, int w, int h) { return BitBlt(dc, x, y, w, h, memory, 0, 0, rop); });
}

extern "C" int WINAPI ZYN_DIB_StretchDibBlt(HDC dc, int x, int y, int width, int height, HGLOBAL dib, int srcX,
                                            int srcY, int srcWidth, int srcHeight, DWORD rop, UINT usage) {
    // Without a DIB the raster operation alone fills the rectangle.
    if (!dib) return PatBlt(dc, x, y, width, height, rop);
    BITMAPINFOHEADER *header;
    BYTE *bits;
    if (!ZYN_DIB_LockPtrs(dib, &header, nullptr, &bits)) return 0;
    int lines = 0;
    if (zyn_dib_rows_inside(dib, header, bits))
        lines = StretchDIBits(dc, x, y, width, height, srcX, srcY, srcWidth, srcHeight, bits,
                              reinterpret_cast<BITMAPINFO *>(header), usage, rop);
    GlobalUnlock(dib);
    return lines;
}
