/* One run of an operation on a window, the steps every operation shares. */
#ifndef IMAGE_PLUGIN_RUN_H
#define IMAGE_PLUGIN_RUN_H

#include "plugin.h"

typedef struct ImgJob {
    ImgPlugin *plugin;
    HWND window;
    ImgOperation op;
    HWND progressOwner; /* the frame, or the window's owner for invert */
    ImgProgress progress;
    int cursorShown;
} ImgJob;

void img_job_begin(ImgJob *job, ImgPlugin *p, HWND w, ImgOperation op);
/* The window's DIB, or null after the operation's "no image" message. */
HGLOBAL img_job_image(ImgJob *job);
/* Runs a dialog owned by the window's owner: 1 on OK. */
int img_job_dialog(ImgJob *job, int which, HGLOBAL dib, void *out);
void img_job_wait(ImgJob *job);
void img_job_end(ImgJob *job);
/* IMG_OK with a result: the window takes it (and, with setDepth, info
   word 24 becomes its bit count); a failure shows the operation's text.
   1 when the window took a new image. */
int img_job_finish(ImgJob *job, int status, HGLOBAL result, int setDepth);

#endif
