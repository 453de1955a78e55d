// The three brushes of 3-D drawing: highlight, face and shadow.  Systems
// with button colors get solid brushes of those; others the stock grays.
#include "zyn_internal.h"

namespace {

const int kBrushes = 3;
HBRUSH g_brush[kBrushes] = {};
bool g_created = false;  // solid brushes of ours, to be deleted

}  // namespace

extern "C" void zyn_brushes_free(void) {
    if (g_created)
        for (HBRUSH &b : g_brush)
            if (b) DeleteObject(b);
    for (HBRUSH &b : g_brush) b = nullptr;
    g_created = false;
}

extern "C" void zyn_brushes_init(void) {
    zyn_brushes_free();
    int kind = ZYN_MD_GetOS();
    if (kind == ZYN_OS_WIN95 || kind == ZYN_OS_WINNT4) {
        const int colors[kBrushes] = {COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNSHADOW};
        for (int i = 0; i < kBrushes; ++i) g_brush[i] = CreateSolidBrush(GetSysColor(colors[i]));
        g_created = true;
    } else {
        const int stock[kBrushes] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH};
        for (int i = 0; i < kBrushes; ++i) g_brush[i] = static_cast<HBRUSH>(GetStockObject(stock[i]));
    }
}

extern "C" void WINAPI ZYN_UTI_UpdateSysColors(void) { zyn_brushes_init(); }

extern "C" HBRUSH WINAPI ZYN_UTI_GetSysBrush(int index) {
    if (index < 0 || index >= kBrushes) return nullptr;
    if (!g_brush[0]) zyn_brushes_init();
    return g_brush[index];
}

extern "C" COLORREF WINAPI ZYN_UTI_GetSysColor(int index) {
    HBRUSH brush = ZYN_UTI_GetSysBrush(index);
    LOGBRUSH lb;
    if (!brush || !GetObjectA(brush, sizeof lb, &lb)) return 0;
    return lb.lbColor;
}
