// Runs under a Windows NT 4.0 version setting (given to this program by the
// test that starts it): bitmap resources then take the button colors and
// the system brushes are solid brushes of them.  Exit code 0 when they do,
// 77 when the system kind is not one that recolors, else the failed check.
#include "zynlib.h"

static COLORREF pixel(HDC dc, int x, int y) { return GetPixel(dc, x, y); }

int main(void) {
    int kind = ZYN_MD_GetOS();
    if (kind != ZYN_OS_WINNT4 && kind != ZYN_OS_WIN95) return 77;
    const int sys[3] = {COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNSHADOW};
    for (int i = 0; i < 3; ++i)
        if (ZYN_UTI_GetSysColor(i) != GetSysColor(sys[i])) return 10 + i;

    HBITMAP bmp = ZYN_DIB_LoadImage(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    if (!bmp) return 2;
    if (ZYN_DIB_LoadImage(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999))) return 3;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    // Bottom row: indices 0..7; top row: 8..15.  Entry 7 was the light
    // gray, so it takes the face and 8 the shadow; 15 the highlight.
    int result = 0;
    if (pixel(mem, 1, 1) != RGB(128, 0, 0)) result = 4;
    else if (pixel(mem, 7, 1) != GetSysColor(COLOR_BTNFACE)) result = 5;
    else if (pixel(mem, 0, 0) != GetSysColor(COLOR_BTNSHADOW)) result = 6;
    else if (pixel(mem, 7, 0) != GetSysColor(COLOR_BTNHIGHLIGHT)) result = 7;
    else if (pixel(mem, 1, 0) != RGB(255, 0, 0)) result = 8;
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    return result;
}
