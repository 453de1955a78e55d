// The progress of a long operation: a step for row 0, every 16th row and
// the last, and the per-row background call that keeps the host alive.
#include "ops_internal.h"

extern "C" void img_run_start(ImgRun *run, const ImgProgress *progress, UINT captionId, LONG rows) {
    run->progress = progress;
    run->last = rows - 1;
    if (progress && progress->start) progress->start(progress->context, captionId, rows);
}

extern "C" void img_run_row(const ImgRun *run, LONG row) {
    const ImgProgress *p = run->progress;
    if (!p) return;
    if (p->background) p->background(p->context);
    if (p->step && ((row & 15) == 0 || row == run->last)) p->step(p->context, row);
}

extern "C" void img_run_to(const ImgRun *run, LONG position) {
    const ImgProgress *p = run->progress;
    if (p && p->step) p->step(p->context, position);
}

extern "C" void img_run_end(ImgRun *run) {
    const ImgProgress *p = run->progress;
    if (p && p->end) p->end(p->context);
    run->progress = nullptr;
}
