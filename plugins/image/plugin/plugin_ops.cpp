// The operations with a dialog: the dialog's choice, then the build
// through the pixel code in the common frame.
#include "image_strings.h"
#include "ops_internal.h"
#include "plugin.h"
#include "plugin_run.h"
#include "zynlib.h"

namespace {

int window_flag(void *context, UINT bit) {
    const ImgJob *job = static_cast<const ImgJob *>(context);
    const ImgPlatform *pf = job->plugin->platform;
    return pf->get_flag(pf->context, job->window, bit);
}

bool frame_wanted(const ImgFrameRecord &r) {
    return r.left || r.right || r.top || r.bottom || (r.caption && r.caption[0]);
}

}  // namespace

extern "C" void img_run_crop(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_CROP);
    const ImgPlatform *pf = p->platform;
    HGLOBAL dib = pf->get_hdib(pf->context, w);
    if (!dib || !pf->get_palette(pf->context, w)) {
        img_say(IDS_IMG_NO_IMAGE_CROP);
        return;
    }
    ImgCropParams crop = {0, 0, 0, 0};
    if (!img_job_dialog(&job, IMG_DIALOG_CROP, dib, &crop)) return;
    img_job_wait(&job);
    HGLOBAL out = nullptr;
    int status = img_crop(dib, &crop, &out);
    img_job_finish(&job, status, out, 0);
    img_job_end(&job);
}

extern "C" void img_run_scale(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_SCALE);
    HGLOBAL dib = img_job_image(&job);
    BITMAPINFOHEADER bi;
    if (!dib || !ZYN_DIB_Info(dib, &bi)) return;
    ImgScaleParams scale = {bi.biWidth, bi.biHeight, p->settings.scaleQuality, 0};
    if (!img_job_dialog(&job, IMG_DIALOG_SCALE, dib, &scale)) return;
    if (scale.width == bi.biWidth && scale.height == bi.biHeight) return;
    bool high = scale.quality == IMG_QUALITY_HIGH;
    if (!high) job.op = IMG_OP_SCALE_LOW;
    scale.gray = high && img_window_gray(bi.biBitCount, window_flag, &job);
    img_job_wait(&job);
    HGLOBAL out = nullptr;
    int status = img_scale(dib, &scale, &job.progress, &out);
    img_job_finish(&job, status, out, high);
    img_job_end(&job);
}

extern "C" void img_run_rotate(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_ROTATE);
    HGLOBAL dib = img_job_image(&job);
    if (!dib || !img_job_dialog(&job, IMG_DIALOG_ROTATE, dib, &p->rotate)) return;
    ImgRotateParams rotate = {p->rotate.angle, p->rotate.quality, p->rotate.background};
    img_job_wait(&job);
    HGLOBAL out = nullptr;
    int status = img_rotate(dib, &rotate, &job.progress, &out);
    img_job_finish(&job, status, out, 1);
    img_job_end(&job);
}

extern "C" void img_run_frame(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_FRAME);
    HGLOBAL dib = img_job_image(&job);
    if (!dib || !img_job_dialog(&job, IMG_DIALOG_FRAME, dib, &p->frameRecord)) return;
    if (!frame_wanted(p->frameRecord)) return;
    img_job_wait(&job);
    const ImgCaptionFlags &f = p->captionFlags;
    HGLOBAL out = img_frame_dib(p->platform, dib, &p->frameRecord, f.invert, f.alpha, f.color);
    img_job_finish(&job, out ? IMG_OK : IMG_UNCHANGED, out, 0);
    img_job_end(&job);
}

extern "C" void img_run_tile(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_TILE);
    HGLOBAL dib = img_job_image(&job);
    ImgTileParams tile = {1, 1, p->settings.tileMirror};
    if (!dib || !img_job_dialog(&job, IMG_DIALOG_TILE, dib, &tile)) return;
    tile.mirror = p->settings.tileMirror;
    img_job_wait(&job);
    HGLOBAL out = nullptr;
    int status = img_tile(dib, &tile, &out);
    img_job_finish(&job, status, out, 0);
    img_job_end(&job);
}

// No message without an image: the menu is grayed then.
extern "C" void img_run_mask(ImgPlugin *p, HWND w) {
    ImgJob job;
    img_job_begin(&job, p, w, IMG_OP_MASK);
    const ImgPlatform *pf = p->platform;
    HGLOBAL dib = pf->get_hdib(pf->context, w);
    if (!dib) return;
    // The shape is drawn at the image's size: a header claiming more rows
    // than its block holds is refused before that.
    ImgSource src;
    if (img_source_open(dib, &src) != IMG_OK) {
        img_say(IDS_IMG_ILLEGAL_IMAGE);
        return;
    }
    LONG width = src.width, height = src.height;
    img_source_close(&src);
    ImgMaskParams mask = {p->settings.maskInvert, p->settings.alphaMask, p->settings.alphaColor, p->maskColor};
    int answer = img_job_dialog(&job, IMG_DIALOG_MASK, dib, &mask);
    if (answer != 1) {
        pf->shape_release(pf->context);
        return;
    }
    img_job_wait(&job);
    HGLOBAL coverage = nullptr, out = nullptr;
    int status = pf->shape_coverage(pf->context, width, height, &coverage);
    if (status == IMG_OK) {
        status = img_mask(dib, coverage, &mask, &out);
        GlobalFree(coverage);
    } else {
        job.op = IMG_OP_MASK_SHAPE;
    }
    img_job_finish(&job, status, out, 0);
    pf->shape_release(pf->context);
    img_job_end(&job);
}
