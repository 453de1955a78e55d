/* The flat reduction driver: reads the source row by row in storage order,
   maps each pixel to the target and writes the new DIB. */
#include "color/flat/flat_reduce.h"

#include <string.h>

#include "color/flat/flat_tables.h"
#include "color/flat/kernels.h"
#include "color/flat/kernels_inline.h"
#include "color/flat/source_rows.h"
#include "color/progress.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/settings/settings.h"

typedef struct FlatJob {
    SourceImage src;
    DibParts out;
    int target;
    int gray;
} FlatJob;

static int output_bits(int target) { return target == 16 || target == 24 ? 24 : target; }

static int target_ok(int target) {
    return target == 1 || target == 4 || target == 8 || target == 16 || target == 24;
}

static void fill_table(int target, RGBQUAD *table) {
    if (target == 1) {
        memset(table, 0, 2 * sizeof(RGBQUAD));
        table[1].rgbBlue = table[1].rgbGreen = table[1].rgbRed = 255;
    } else if (target == 4) {
        memcpy(table, flat_default16, sizeof flat_default16);
    } else if (target == 8) {
        flat_fill_332(table);
    }
}

/* Opens the source and makes the zeroed output; 0 after a report. */
static int job_open(HGLOBAL dib, int target, int gray, FlatJob *job) {
    memset(job, 0, sizeof *job);
    flat_tables_init();
    job->target = target;
    job->gray = gray;
    if (!target_ok(target)) {
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)target);
        return 0;
    }
    if (!source_open(dib, &job->src)) return 0;
    int bits = output_bits(target);
    DWORD colors = bits <= 8 ? 1u << bits : 0;
    if (!dib_create(job->src.dib.width, job->src.dib.height, (WORD)bits, colors, &job->out)) {
        source_close(&job->src);
        lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
        return 0;
    }
    job->out.header->biXPelsPerMeter = job->src.dib.header->biXPelsPerMeter;
    job->out.header->biYPelsPerMeter = job->src.dib.header->biYPelsPerMeter;
    fill_table(target, job->out.colors);
    return 1;
}

/* Closes the source; hands back the output, or frees it on failure. */
static HGLOBAL job_close(FlatJob *job, int ok) {
    source_close(&job->src);
    if (!ok) {
        dib_discard(&job->out);
        return NULL;
    }
    HGLOBAL h = job->out.handle;
    dib_close(&job->out);
    return h;
}

/* The output starts zeroed, so indices are ORed in. */
static inline void put_index(BYTE *row, int bits, LONG x, int index) {
    if (bits == 8)
        row[x] = (BYTE)index;
    else if (bits == 4)
        row[x >> 1] |= (BYTE)(index << ((x & 1) ? 0 : 4));
    else
        row[x >> 3] |= (BYTE)(index << (7 - (x & 7)));
}

static inline void put_bgr(BYTE *row, LONG x, int blue, int green, int red) {
    BYTE *p = row + 3 * x;
    p[0] = (BYTE)blue;
    p[1] = (BYTE)green;
    p[2] = (BYTE)red;
}

static inline int index16_plain(int red, int green, int blue, int gray, int limit) {
    if (!gray && !flat_near_gray(red, green, blue, limit)) return flat_index_plain[flat_key64(red, green, blue)];
    return flat_gray16(red);
}

static void plain_row(FlatJob *job, LONG y) {
    int step;
    const BYTE *p = source_row(&job->src, y, &step);
    BYTE *out = job->out.bits + (size_t)y * job->out.stride;
    LONG width = job->src.dib.width;
    for (LONG x = 0; x < width; x++, p += step) {
        int blue = p[0], green = p[1], red = p[2];
        switch (job->target) {
            case 1: put_index(out, 1, x, flat_luma(red, green, blue) >= 128); break;
            case 4: put_index(out, 4, x, index16_plain(red, green, blue, job->gray, 50)); break;
            case 8: out[x] = flat_index_332(red, green, blue); break;
            case 16: put_bgr(out, x, blue & 0xF8, green & 0xF8, red & 0xF8); break;
            default: put_bgr(out, x, blue, green, red); break;
        }
    }
}

static void halftone_row(FlatJob *job, LONG y) {
    int step;
    const BYTE *p = source_row(&job->src, y, &step);
    BYTE *out = job->out.bits + (size_t)y * job->out.stride;
    const signed char *matrix = flat_dither_matrix[y & 3];
    LONG width = job->src.dib.width;
    for (LONG x = 0; x < width; x++, p += step) {
        int blue = p[0], green = p[1], red = p[2];
        int m = matrix[x & 3];
        int luma = flat_luma(red, green, blue);
        switch (job->target) {
            case 1: put_index(out, 1, x, flat_clamp(luma + 16 * m) >> 7); break;
            case 4: {
                int o = 2 * m * (luma >> 4);
                red = flat_clamp(red + o);
                if (job->gray) {
                    put_index(out, 4, x, flat_gray16(red));
                } else {
                    green = flat_clamp(green + o);
                    blue = flat_clamp(blue + o);
                    put_index(out, 4, x, flat_index_halftone[flat_key64(red, green, blue)]);
                }
                break;
            }
            case 8: {
                int o = m * (luma >> 5);
                out[x] = flat_index_332(flat_clamp(red + o), flat_clamp(green + o), flat_clamp(blue + o));
                break;
            }
            default: put_bgr(out, x, blue & 0xF8, green & 0xF8, red & 0xF8); break;
        }
    }
}

/* One serpentine row: position p runs from the start of the scan
   direction, so the kernels always push forward. */
template <int K>
static void diffuse_row(FlatJob *job, LONG y, int forward, ErrorRows *rows) {
    int step;
    const BYTE *in = source_row(&job->src, y, &step);
    BYTE *out = job->out.bits + (size_t)y * job->out.stride;
    LONG width = job->src.dib.width;
    int *const *errors = rows->row;
    int *err = rows->row[0];
    const int target = job->target, gray = job->gray;
    for (LONG p = 0; p < width; p++) {
        LONG x = forward ? p : width - 1 - p;
        const BYTE *s = in + (size_t)x * step;
        int blue = flat_clamp(s[0] + err[3 * p]);
        int green = flat_clamp(s[1] + err[3 * p + 1]);
        int red = flat_clamp(s[2] + err[3 * p + 2]);
        int outBlue, outGreen, outRed;
        if (target == 8) {
            /* measured against the cut levels, not the palette entry */
            out[x] = flat_index_332(red, green, blue);
            outRed = red & 0xE0;
            outGreen = green & 0xE0;
            outBlue = blue & 0xC0;
        } else if (target == 1) {
            int luma = flat_luma(red, green, blue);
            red = green = blue = luma;
            put_index(out, 1, x, luma >> 7);
            outBlue = outGreen = outRed = (luma >> 7) ? 255 : 0;
        } else if (target == 4) {
            int index = index16_plain(red, green, blue, gray, 200);
            put_index(out, 4, x, index);
            outBlue = flat_default16[index].rgbBlue;
            outGreen = flat_default16[index].rgbGreen;
            outRed = flat_default16[index].rgbRed;
        } else {
            outBlue = blue & 0xF8;
            outGreen = green & 0xF8;
            outRed = red & 0xF8;
            put_bgr(out, x, outBlue, outGreen, outRed);
        }
        kernel_inline<K>(errors, (int)p, red - outRed, green - outGreen, blue - outBlue);
    }
}

static HGLOBAL run(HGLOBAL dib, int target, int gray, int dither, int ditherType) {
    FlatJob job;
    if (!job_open(dib, target, gray, &job)) return NULL;
    LONG height = job.src.dib.height;
    if (target == 24) dither = 0;
    int kernelIndex = dither ? dither_kernel_of(ditherType) : DITHER_HALFTONE;
    ErrorRows rows;
    memset(&rows, 0, sizeof rows);
    if (dither && kernelIndex != DITHER_HALFTONE &&
        !error_rows_alloc(&rows, dither_kernels[kernelIndex].rows, (int)job.src.dib.width)) {
        lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
        return job_close(&job, 0);
    }
    color_progress_begin(dither ? IDS_PROGRESS_FLAT_DITHER : IDS_PROGRESS_FLAT, (int)height);
    for (LONG y = 0; y < height; y++) {
        if (!dither) {
            plain_row(&job, y);
        } else if (kernelIndex == DITHER_HALFTONE) {
            halftone_row(&job, y);
        } else {
            DITHER_DISPATCH(kernelIndex, diffuse_row, &job, y, (y & 1) == 0, &rows);
            error_rows_next_serpentine(&rows);
        }
        color_progress_row((int)y, (int)height, 0);
    }
    color_progress_end(dither ? 0 : IDS_PROGRESS_FINISHED);
    error_rows_free(&rows);
    return job_close(&job, 1);
}

extern "C" HGLOBAL flat_reduce(HGLOBAL dib, int target, int gray) { return run(dib, target, gray, 0, 0); }

extern "C" HGLOBAL flat_reduce_dither_type(HGLOBAL dib, int target, int gray, int ditherType) {
    return run(dib, target, gray, 1, ditherType);
}

extern "C" HGLOBAL flat_reduce_dither(HGLOBAL dib, int target, int gray) {
    return run(dib, target, gray, 1, (int)settings_read(SET_DITHER_TYPE));
}

extern "C" HGLOBAL flat_cut(HGLOBAL dib, int target, int gray, int dither) {
    return dither ? flat_reduce_dither(dib, target, gray) : flat_reduce(dib, target, gray);
}
