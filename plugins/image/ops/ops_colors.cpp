// Color choices of the operations: a palette image's index and the color
// of its entry, and the window's gray flag.
#include <stdlib.h>

#include "ops_internal.h"

namespace {

void take_entry(const ImgSource &s, ImgColor *color) {
    RGBQUAD q = img_entry(&s, color->index);
    color->blue = q.rgbBlue;
    color->green = q.rgbGreen;
    color->red = q.rgbRed;
}

}  // namespace

extern "C" int img_color_from_table(HGLOBAL dib, ImgColor *color) {
    ImgSource s;
    if (img_source_open(dib, &s) != IMG_OK) return 0;
    if (s.bitCount <= 8) {
        if (color->index >= s.colors) color->index = 0;
        take_entry(s, color);
    }
    img_source_close(&s);
    return 1;
}

extern "C" int img_toggle_mono_color(HGLOBAL dib, ImgColor *color) {
    ImgSource s;
    if (img_source_open(dib, &s) != IMG_OK) return 0;
    int ok = s.bitCount == 1;
    if (ok) {
        color->index = color->index == 0 ? 1 : 0;
        // The entry's own color: a 1-bit table need not be black and white.
        take_entry(s, color);
    }
    img_source_close(&s);
    return ok;
}

extern "C" int img_color_nearest(HGLOBAL dib, ImgColor *color) {
    ImgSource s;
    if (img_source_open(dib, &s) != IMG_OK) return 0;
    if (s.bitCount <= 8 && s.colors) {
        DWORD best = 0;
        int bestDistance = 1 << 30;
        for (DWORD i = 0; i < s.colors; i++) {
            const RGBQUAD &q = s.table[i];
            int d = abs(q.rgbRed - color->red) + abs(q.rgbGreen - color->green) + abs(q.rgbBlue - color->blue);
            if (d < bestDistance) bestDistance = d, best = i;
        }
        color->index = best;
        take_entry(s, color);
    }
    img_source_close(&s);
    return 1;
}

extern "C" int img_window_gray(WORD bitCount, int (*getFlag)(void *context, UINT bit), void *context) {
    return bitCount <= 8 && getFlag && !getFlag(context, IMG_WINDOW_COLOR_FLAG);
}
