/* The Frame/Caption dialog and its preview share this state: the values
   being edited, given to the plug-in's frame record only on OK. */
#ifndef IMAGE_FRAME_WIN_H
#define IMAGE_FRAME_WIN_H

#include "image_win.h"

enum { FRAME_TOP, FRAME_BOTTOM, FRAME_LEFT, FRAME_RIGHT, FRAME_SIDES };
enum { FRAME_FILL, FRAME_OUTLINE, FRAME_TEXT, FRAME_COLORS };

typedef struct Framing {
    HGLOBAL dib;
    HPALETTE palette;
    DWORD width, height; /* the image's */
    WORD bitCount;
    DWORD margin[FRAME_SIDES];
    ImgColor color[FRAME_COLORS];
    int style, chosen;
    WORD alignment;
    LOGFONTA font;
    char caption[IMG_CAPTION_MAX + 2];
    int guard;
    WNDPROC previewProc; /* the static's own */
} Framing;

/* frame_preview_win.cpp: the static becomes the preview. */
void frame_preview_attach(HWND preview, Framing *f);
void frame_preview_detach(HWND preview);

#endif
