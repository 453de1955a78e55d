/* The Crop dialog and its preview ("CropClass") share this state: the
   margins (top and bottom as displayed), the preview mode and the drag. */
#ifndef IMAGE_CROP_WIN_H
#define IMAGE_CROP_WIN_H

#include "image_win.h"

enum { CROP_TOP, CROP_BOTTOM, CROP_LEFT, CROP_RIGHT, CROP_SIDES };

/* What a point of the preview touches: crop lines (bits) or the box. */
#define CROP_HIT_LEFT 0x1
#define CROP_HIT_RIGHT 0x2
#define CROP_HIT_TOP 0x4
#define CROP_HIT_BOTTOM 0x8
#define CROP_HIT_BOX 0x10
/* How near a line the pointer grabs it. */
#define CROP_GRAB 10

typedef struct Cropping {
    HGLOBAL dib;
    HPALETTE palette;
    DWORD width, height;      /* the image's */
    DWORD margin[CROP_SIDES]; /* in image pixels */
    BOOL fit;                 /* "Fit in Window": the stretched preview */
    HGLOBAL preview;          /* the image stretched to the preview's inside */
    int scrollX, scrollY;     /* "Show Real Size" */
    int guard;
    /* a drag in progress */
    int drag;
    POINT dragFrom;
    DWORD dragStart[CROP_SIDES];
    ImgCropParams *out;
} Cropping;

/* crop_dialog_win.cpp */
Cropping *crop_of_preview(HWND preview);
/* The margins changed by a drag: the edits follow. */
void crop_margins_changed(HWND dialog, Cropping *c);

/* crop_preview_win.cpp: the inside of the preview (its client less a
   1-pixel border) and the mapping of image pixels onto it. */
void crop_inside(HWND preview, int *width, int *height);
BOOL crop_image_fits(HWND preview, const Cropping *c);

#endif
