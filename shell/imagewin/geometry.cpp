#include "shell/imagewin/geometry.h"

#define VK_PRIOR_ 0x21
#define VK_NEXT_ 0x22
#define VK_LEFT_ 0x25
#define VK_UP_ 0x26
#define VK_RIGHT_ 0x27
#define VK_DOWN_ 0x28

static int min_int(int a, int b) { return a < b ? a : b; }
static int max_int(int a, int b) { return a > b ? a : b; }

/* Keeps the window inside the area from where it stands, and never
   smaller than its frame. */
static void limit(const FitInput *in, int overW, int overH, int *w, int *h) {
    *w = max_int(min_int(*w, in->availW - in->winX), overW + 1);
    *h = max_int(min_int(*h, in->availH - in->winY), overH + 1);
}

extern "C" void fit_window_size(const FitInput *in, int *w, int *h) {
    int overW = in->winW - in->clientW, overH = in->winH - in->clientH;
    if (in->vBarShown) overW -= in->vBarW - 1;
    if (in->hBarShown) overH -= in->hBarH - 1;
    overW = max_int(overW, 0);
    overH = max_int(overH, 0);
    *w = in->imageW + overW;
    *h = in->imageH + overH + in->extraH;
    limit(in, overW, overH, w, h);
    int clientW = *w - overW, clientH = *h - overH - in->extraH;
    if (clientW < in->imageW) *h += in->hBarH - 1;
    if (clientH < in->imageH) *w += in->vBarW - 1;
    limit(in, overW, overH, w, h);
}

/* A bar takes room from the other direction, which may then need its
   own bar too: settle both. */
extern "C" void scroll_plan(int imageW, int imageH, int fullW, int fullH, int hBarH, int vBarW,
                            ScrollPlan *out) {
    int h = 0, v = 0;
    for (int pass = 0; pass < 2; pass++) {
        int visW = fullW - (v ? vBarW : 0), visH = fullH - (h ? hBarH : 0);
        h = imageW > visW;
        v = imageH > visH;
    }
    out->hShown = h;
    out->vShown = v;
    out->visW = max_int(fullW - (v ? vBarW : 0), 0);
    out->visH = max_int(fullH - (h ? hBarH : 0), 0);
    out->hMax = h ? max_int(imageW - out->visW, 0) : 0;
    out->vMax = v ? max_int(imageH - out->visH, 0) : 0;
}

extern "C" int scroll_position(int code, int pos, int thumb, int page, int max) {
    long long p = pos;
    switch (code) {
        case SCROLL_LINE_UP: p -= SCROLL_LINE_PIXELS; break;
        case SCROLL_LINE_DOWN: p += SCROLL_LINE_PIXELS; break;
        case SCROLL_PAGE_UP: p -= max_int(page, 1); break;
        case SCROLL_PAGE_DOWN: p += max_int(page, 1); break;
        case SCROLL_THUMB_POSITION: p = thumb; break;
        case SCROLL_TOP: p = 0; break;
        case SCROLL_BOTTOM: p = max; break;
        default: break;
    }
    if (p > max) p = max;
    if (p < 0) p = 0;
    return (int)p;
}

extern "C" int scroll_key(UINT vk, int shift, int hShown, int vShown, int *bar, int *code) {
    switch (vk) {
        case VK_PRIOR_:
        case VK_NEXT_:
            *bar = shift ? SCROLL_BAR_H : SCROLL_BAR_V;
            *code = vk == VK_PRIOR_ ? SCROLL_PAGE_UP : SCROLL_PAGE_DOWN;
            break;
        case VK_LEFT_:
        case VK_RIGHT_:
            *bar = SCROLL_BAR_H;
            *code = vk == VK_LEFT_ ? SCROLL_LINE_UP : SCROLL_LINE_DOWN;
            break;
        case VK_UP_:
        case VK_DOWN_:
            *bar = SCROLL_BAR_V;
            *code = vk == VK_UP_ ? SCROLL_LINE_UP : SCROLL_LINE_DOWN;
            break;
        default: return 0;
    }
    return *bar == SCROLL_BAR_H ? hShown : vShown;
}
