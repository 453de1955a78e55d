// Bitmap resources drawn in the system's button colors, so that images of
// dialogs and toolbars follow the user's color scheme.
#include <string.h>

#include "dib_internal.h"
#include "zyn_internal.h"

namespace {

RGBQUAD quad_of(COLORREF c) {
    RGBQUAD q = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
    return q;
}

// Entries 7 and 8 are the grays of the 16-color table; whichever of them is
// the light one takes the button face, the other the shadow.
void recolor(RGBQUAD *table) {
    RGBQUAD face = quad_of(GetSysColor(COLOR_BTNFACE));
    RGBQUAD shadow = quad_of(GetSysColor(COLOR_BTNSHADOW));
    if (table[7].rgbRed == 192) {
        table[7] = face;
        table[8] = shadow;
    } else {
        table[8] = face;
        table[7] = shadow;
    }
    table[15] = quad_of(GetSysColor(COLOR_BTNHIGHLIGHT));
}

HBITMAP draw_dib(const BITMAPINFOHEADER *header, const BYTE *bits) {
    LONG rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, header->biWidth, rows);
    HDC memory = bitmap ? CreateCompatibleDC(screen) : nullptr;
    if (memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetDIBitsToDevice(memory, 0, 0, (DWORD)header->biWidth, (DWORD)rows, 0, 0, 0, (UINT)rows, bits,
                          reinterpret_cast<const BITMAPINFO *>(header), DIB_RGB_COLORS);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(nullptr, screen);
    if (!bitmap) zyn_report(IDS_ZYN_NOMEM);
    return bitmap;
}

}  // namespace

extern "C" HBITMAP WINAPI ZYN_DIB_LoadImage(HINSTANCE instance, LPCSTR name) {
    int kind = ZYN_MD_GetOS();
    if (kind != ZYN_OS_WIN95 && kind != ZYN_OS_WINNT4) return LoadBitmapA(instance, name);

    HRSRC found = FindResourceA(instance, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return nullptr;
    DWORD size = SizeofResource(instance, found);

    // The resource is read-only: recolor a copy.
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    BYTE *p = copy ? static_cast<BYTE *>(GlobalLock(copy)) : nullptr;
    if (!p) {
        if (copy) GlobalFree(copy);
        zyn_report(IDS_ZYN_NOMEM);
        return nullptr;
    }
    memcpy(p, data, size);
    GlobalUnlock(copy);

    HBITMAP bitmap = nullptr;
    BITMAPINFOHEADER *header;
    RGBQUAD *table;
    BYTE *bits;
    if (ZYN_DIB_LockPtrs(copy, &header, &table, &bits) && header->biSize >= sizeof(BITMAPINFOHEADER) &&
        zyn_dib_rows_inside(copy, header, bits)) {
        if (ZYN_DIB_NumColors(header) >= 16) recolor(table);
        bitmap = draw_dib(header, bits);
        GlobalUnlock(copy);
    } else {
        if (header) GlobalUnlock(copy);
        zyn_report(IDS_ZYN_ILLEGAL_IMAGE);
    }
    GlobalFree(copy);
    return bitmap;
}
