/* The arithmetic of an image window: fitting the window to its image,
   which scroll bars it needs, where it may scroll to, and what the keys
   and scroll-bar codes do.  Pixel units throughout. */
#ifndef LC_IMAGEWIN_GEOMETRY_H
#define LC_IMAGEWIN_GEOMETRY_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FitInput {
    int availW, availH;   /* frame client area less the status bars */
    int winX, winY;       /* window position in that area */
    int winW, winH;       /* window size */
    int clientW, clientH; /* its client size */
    int hBarShown, vBarShown;
    int hBarH, vBarW;   /* height of a horizontal bar, width of a vertical one */
    int imageW, imageH;
    int extraH; /* the media control strip, or 0 */
} FitInput;

/* The window size that shows the whole image where the area allows,
   with room for the scroll bars it then needs. */
void fit_window_size(const FitInput *in, int *w, int *h);

/* Scroll bars of a client area: which are needed, the part of the image
   they leave visible and how far each may scroll. */
typedef struct ScrollPlan {
    int hShown, vShown;
    int visW, visH;
    int hMax, vMax; /* largest position; 0 when the bar is hidden */
} ScrollPlan;

/* fullW/fullH: the client size without any scroll bar. */
void scroll_plan(int imageW, int imageH, int fullW, int fullH, int hBarH, int vBarW, ScrollPlan *out);

/* Scroll-bar codes as Windows numbers them. */
#define SCROLL_LINE_UP 0
#define SCROLL_LINE_DOWN 1
#define SCROLL_PAGE_UP 2
#define SCROLL_PAGE_DOWN 3
#define SCROLL_THUMB_POSITION 4
#define SCROLL_THUMB_TRACK 5
#define SCROLL_TOP 6
#define SCROLL_BOTTOM 7
#define SCROLL_LINE_PIXELS 10

/* The new position for a scroll-bar code, within 0..max; thumb tracking
   leaves the position alone. */
int scroll_position(int code, int pos, int thumb, int page, int max);

/* The bar and code a key scrolls: Page Up/Down page the vertical bar (the
   horizontal one with Shift), the arrows move a line on their bar; only a
   bar that is showing moves.  0 when the key does not scroll. */
#define SCROLL_BAR_H 0
#define SCROLL_BAR_V 1
int scroll_key(UINT vk, int shift, int hShown, int vShown, int *bar, int *code);

#ifdef __cplusplus
}
#endif

#endif
