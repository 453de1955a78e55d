// The common DIB handling of every filter (the source opened and checked,
// the output built with a fresh header) and the generic row driver.
#include <stdlib.h>

#include <string.h>

#include "style_internal.h"

namespace {

// More than a 32-bit process could hand out in one block.
const uint64_t kMaxBlock = 0x7FFFFFFF;

void fill_table(StyJob *job) {
    memset(job->table, 0, sizeof job->table);
    if (job->bytes != 1) return;
    DWORD n = job->src.colors < 256 ? job->src.colors : 256;
    memcpy(job->table, job->src.table, n * sizeof(RGBQUAD));
}

// The output block: a 40-byte header and the rows, no color table.
int new_output(StyJob *job) {
    WORD bits = (WORD)(job->outBytes * 8);
    uint64_t stride, bytes;
    if (!zyn_dib_stride(job->src.width, bits, &stride) ||
        !zyn_dib_packed_size(job->src.width, job->src.height, bits, &bytes) ||
        bytes > kMaxBlock - sizeof(BITMAPINFOHEADER))
        return 0;
    STY_FLASH("Alloc DIB (size = %ld)", (long)(bytes + sizeof(BITMAPINFOHEADER)));
    job->output = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + (size_t)bytes);
    BYTE *p = job->output ? static_cast<BYTE *>(GlobalLock(job->output)) : nullptr;
    if (!p) {
        if (job->output) GlobalFree(job->output);
        job->output = nullptr;
        return 0;
    }
    STY_FLASH("Fill DIB header");
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = job->src.width;
    h.biHeight = job->src.height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)bytes;
    h.biXPelsPerMeter = job->src.header->biXPelsPerMeter;
    h.biYPelsPerMeter = job->src.header->biYPelsPerMeter;
    memcpy(p, &h, sizeof h);
    job->outBits = p + sizeof h;
    job->outStride = (size_t)stride;
    return 1;
}

int new_row_table(StyJob *job) {
    job->rows = static_cast<const BYTE **>(malloc((size_t)job->src.height * sizeof *job->rows));
    if (!job->rows) return 0;
    for (LONG y = 0; y < job->src.height; y++) job->rows[y] = job->src.bits + (size_t)y * job->src.stride;
    return 1;
}

}  // namespace

extern "C" int sty_job_begin(HGLOBAL dib, StyJob *job) {
    memset(job, 0, sizeof *job);
    STY_FLASH("Get struct pointers");
    if (!zyn_image_open(dib, &job->src)) {
        sty_report(IDS_STY_ILLEGAL_IMAGE);
        return 0;
    }
    WORD bits = job->src.bitCount;
    job->bytes = bits / 8;
    STY_FLASH("Pixel Size = [Src: %u]", (unsigned)job->bytes);
    if (!STY_CHECK(bits == 8 || bits == 24 || bits == 32)) {
        zyn_image_close(&job->src);
        sty_report(IDS_STY_ILLEGAL_IMAGE);
        return 0;
    }
    STY_FLASH("Get width/height");
    STY_FLASH("Width = %u, Height = %u", (unsigned)job->src.width, (unsigned)job->src.height);
    job->outBytes = bits == 32 ? 4 : 3;
    fill_table(job);
    if (!new_output(job) || !new_row_table(job)) {
        sty_job_abort(job);
        sty_report_nomem();
        return 0;
    }
    STY_FLASH("Get Mem pointers");
    STY_FLASH("Compute bytes-per-line");
    STY_FLASH("bytes = [s:%ld d:%ld]", (long)job->src.stride, (long)job->outStride);
    return 1;
}

extern "C" HGLOBAL sty_job_end(StyJob *job) {
    free(job->rows);
    GlobalUnlock(job->output);
    zyn_image_close(&job->src);
    HGLOBAL out = job->output;
    memset(job, 0, sizeof *job);
    return out;
}

extern "C" void sty_job_abort(StyJob *job) {
    free(job->rows);
    if (job->output) {
        GlobalUnlock(job->output);
        GlobalFree(job->output);
    }
    zyn_image_close(&job->src);
    memset(job, 0, sizeof *job);
}

extern "C" int sty_row_done(void) { return ZYN_EVT_Background(); }

namespace {
int g_wideAllowed = 1;
}

extern "C" int sty_wide(void) {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    static int known, present;
    if (!known) {
        __builtin_cpu_init();
        present = __builtin_cpu_supports("avx2") ? 1 : 0;
        known = 1;
    }
    return present && g_wideAllowed;
#else
    return 0;
#endif
}

extern "C" void sty_set_wide(int allowed) { g_wideAllowed = allowed; }

extern "C" HGLOBAL sty_run_rows(int filter, HGLOBAL dib, int amount, int, int, int) {
    return sty_drive_rows(&sty_filters[filter], dib, amount);
}

extern "C" HGLOBAL sty_drive_rows(const StyFilter *f, HGLOBAL dib, int amount) {
    StyJob job;
    if (!sty_job_begin(dib, &job)) return nullptr;
    const LONG w = job.src.width, h = job.src.height;
    // Unfilled paths copy the source, so every call gives a defined picture.
    StyRow8Proc row8 = f->row8 ? f->row8 : sty_copy_row8;
    StyRow24Proc row24 = f->row24 ? f->row24 : sty_copy_row24;
    if (f->rowStart && !f->rowStart(w, h, job.bytes)) {
        sty_job_abort(&job);
        sty_report_nomem();
        return nullptr;
    }
    STY_FLASH("Loop through lines");
    int stopped = 0;
    for (LONG y = 0; y < h && !stopped; y++) {
        BYTE *out = sty_job_out_row(&job, y);
        if (job.bytes == 1)
            row8(y, amount, w, h, job.rows, out, job.table);
        else
            row24(y, amount, w, h, job.rows, out, job.bytes == 4);
        stopped = !sty_row_done();
    }
    if (f->rowEnd) f->rowEnd();
    if (stopped) {
        sty_job_abort(&job);
        return nullptr;
    }
    return sty_job_end(&job);
}
