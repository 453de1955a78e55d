// The common frame of an operation: the "no image" message, the dialog,
// the wait cursor, the build with its progress bar, the new image handed
// to the window (which keeps the old one as its undo) and the message of
// a failure.  Each operation's own part is its parameters.
#include "image_strings.h"
#include "plugin.h"
#include "plugin_run.h"
#include "zynlib.h"

namespace {

void progress_start(void *context, UINT captionId, LONG rows) {
    ImgJob *job = static_cast<ImgJob *>(context);
    const ImgPlatform *pf = job->plugin->platform;
    char caption[128];
    img_text(captionId, caption, sizeof caption);
    pf->progress_start(pf->context, job->progressOwner, caption);
    pf->progress_range(pf->context, 0, (int)rows);
}

void progress_step(void *context, LONG row) {
    const ImgPlatform *pf = static_cast<ImgJob *>(context)->plugin->platform;
    pf->progress_step(pf->context, (int)row);
}

void progress_end(void *context) {
    const ImgPlatform *pf = static_cast<ImgJob *>(context)->plugin->platform;
    pf->progress_end(pf->context);
}

void background(void *) { ZYN_EVT_Background(); }

}  // namespace

void img_job_begin(ImgJob *job, ImgPlugin *p, HWND w, ImgOperation op) {
    job->plugin = p;
    job->window = w;
    job->op = op;
    job->progressOwner = p->frame;
    job->progress = ImgProgress{job, progress_start, progress_step, progress_end, background};
    job->cursorShown = 0;
}

HGLOBAL img_job_image(ImgJob *job) {
    const ImgPlatform *pf = job->plugin->platform;
    HGLOBAL dib = pf->get_hdib(pf->context, job->window);
    if (!dib) {
        UINT id = img_no_image_message_id(job->op);
        if (id) img_say(id);
    }
    return dib;
}

int img_job_dialog(ImgJob *job, int which, HGLOBAL dib, void *out) {
    ImgPlugin *p = job->plugin;
    const ImgPlatform *pf = p->platform;
    HWND owner = pf->owner_window(pf->context, job->window);
    return pf->dialog(pf->context, which, p, owner, job->window, dib, out);
}

void img_job_wait(ImgJob *job) {
    const ImgPlatform *pf = job->plugin->platform;
    job->plugin->savedCursor = pf->set_cursor(pf->context, job->plugin->waitCursor);
    job->cursorShown = 1;
}

void img_job_end(ImgJob *job) {
    if (!job->cursorShown) return;
    const ImgPlatform *pf = job->plugin->platform;
    pf->set_cursor(pf->context, job->plugin->savedCursor);
    job->cursorShown = 0;
}

int img_job_finish(ImgJob *job, int status, HGLOBAL result, int setDepth) {
    const ImgPlatform *pf = job->plugin->platform;
    if (status == IMG_OK && result) {
        // The window may have gone while the interface was pumped.
        if (!pf->get_hdib(pf->context, job->window)) {
            GlobalFree(result);
            return 0;
        }
        pf->replace_hdib(pf->context, job->window, result);
        if (setDepth) {
            BITMAPINFOHEADER bi;
            if (ZYN_DIB_Info(result, &bi)) pf->set_info(pf->context, job->window, IMG_INFO_DEPTH, bi.biBitCount);
        }
        return 1;
    }
    if (status != IMG_OK && status != IMG_UNCHANGED) {
        UINT id = img_message_id(job->op, status);
        if (id) img_say(id);
    }
    return 0;
}

// ---- invert, flip, mirror: on the host's copy -------------------------------

namespace {

void run_on_copy(ImgPlugin *p, HWND w, ImgOperation op) {
    ImgJob job;
    img_job_begin(&job, p, w, op);
    if (!img_job_image(&job)) return;
    const ImgPlatform *pf = p->platform;
    img_job_wait(&job);
    HGLOBAL copy = pf->copy_hdib(pf->context, w);
    int status = IMG_NO_MEMORY;
    if (copy) {
        job.progressOwner = pf->owner_window(pf->context, w);
        if (op == IMG_OP_INVERT)
            status = img_invert_in_place(copy, &job.progress);
        else if (op == IMG_OP_FLIP)
            status = img_flip_in_place(copy);
        else
            status = img_mirror_in_place(copy);
        if (status != IMG_OK) GlobalFree(copy);
    }
    img_job_finish(&job, status, status == IMG_OK ? copy : nullptr, 0);
    img_job_end(&job);
}

}  // namespace

extern "C" void img_run_invert(ImgPlugin *p, HWND w) { run_on_copy(p, w, IMG_OP_INVERT); }
extern "C" void img_run_flip(ImgPlugin *p, HWND w) { run_on_copy(p, w, IMG_OP_FLIP); }
extern "C" void img_run_mirror(ImgPlugin *p, HWND w) { run_on_copy(p, w, IMG_OP_MIRROR); }
