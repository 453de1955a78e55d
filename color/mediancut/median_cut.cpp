/* The median-cut driver: histogram, compaction, splitting, palette and
   mapping.  Every allocation is released on every path. */
#include "color/mediancut/median_cut.h"

#include <stdlib.h>
#include <string.h>

#include "color/flat/palette_map.h"
#include "color/flat/source_rows.h"
#include "color/mediancut/median_boxes.h"
#include "color/progress.h"
#include "core/messages.h"
#include "lumacast_strings.h"

typedef struct MedianJob {
    SourceImage src;
    DWORD *counts;        /* pixels per key: the key table */
    ColorRecord *records; /* one per distinct key, in key order */
    ColorRecord **order;  /* the compacted record array the boxes index */
    DWORD distinct;
    BYTE *indexOfKey;
    BoxList list;
    DibParts out;
} MedianJob;

static void job_free(MedianJob *job) {
    median_list_free(&job->list);
    free(job->counts);
    free(job->records);
    free(job->order);
    free(job->indexOfKey);
    job->counts = NULL;
    job->records = NULL;
    job->order = NULL;
    job->indexOfKey = NULL;
    source_close(&job->src);
}

/* Histogram progress moves on every 16th row only. */
static void histogram(MedianJob *job) {
    LONG width = job->src.dib.width, height = job->src.dib.height;
    DWORD *counts = job->counts;
    for (LONG y = 0; y < height; y++) {
        int step;
        const BYTE *p = source_row(&job->src, y, &step);
        for (LONG x = 0; x < width; x++, p += step) counts[median_key(p[2], p[1], p[0])]++;
        if (((y + 1) & 15) == 0) color_progress_advance((int)y + 1);
    }
}

static int compact(MedianJob *job) {
    DWORD n = 0;
    for (int key = 0; key < MEDIAN_KEYS; key++) n += job->counts[key] != 0;
    job->records = (ColorRecord *)calloc(n, sizeof(ColorRecord));
    job->order = (ColorRecord **)malloc(n * sizeof(ColorRecord *));
    if (!job->records || !job->order) return 0;
    DWORD at = 0;
    for (int key = 0; key < MEDIAN_KEYS; key++) {
        if (!job->counts[key]) continue;
        job->records[at].key = (DWORD)key;
        job->records[at].count = job->counts[key];
        job->order[at] = &job->records[at];
        at++;
    }
    job->distinct = n;
    return 1;
}

/* Walks the list from the head: box i becomes entry i (5-bit mean x 8). */
static void make_palette(MedianJob *job, RGBQUAD *table) {
    int i = 0;
    for (ColorBox *box = job->list.head; box; box = box->next, i++) {
        median_box_means(box, job->order);
        table[i].rgbRed = (BYTE)(box->meanRed * 8);
        table[i].rgbGreen = (BYTE)(box->meanGreen * 8);
        table[i].rgbBlue = (BYTE)(box->meanBlue * 8);
        table[i].rgbReserved = 0;
        box->index = i;
        for (DWORD r = 0; r < box->count; r++) {
            ColorRecord *record = job->order[box->start + r];
            record->box = box;
            record->index = (DWORD)i;
            job->indexOfKey[record->key] = (BYTE)i;
        }
    }
}

static void map_plain(MedianJob *job) {
    LONG width = job->src.dib.width, height = job->src.dib.height;
    const BYTE *indexOf = job->indexOfKey;
    for (LONG y = 0; y < height; y++) {
        int step;
        const BYTE *p = source_row(&job->src, y, &step);
        BYTE *out = job->out.bits + (size_t)y * job->out.stride;
        if (job->out.bpp == 8) {
            for (LONG x = 0; x < width; x++, p += step) out[x] = indexOf[median_key(p[2], p[1], p[0])];
        } else {
            for (LONG x = 0; x < width; x++, p += step) {
                BYTE index = indexOf[median_key(p[2], p[1], p[0])];
                out[x >> 1] |= (BYTE)((x & 1) ? index : index << 4);
            }
        }
        color_progress_row((int)y, (int)height, (int)height);
    }
}

static int run(MedianJob *job, HGLOBAL dib, DWORD colors, int dither) {
    job->counts = (DWORD *)calloc(MEDIAN_KEYS, sizeof(DWORD));
    job->indexOfKey = (BYTE *)calloc(MEDIAN_KEYS, 1);
    if (!job->counts || !job->indexOfKey) return lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY), 0;
    histogram(job);
    if (!compact(job)) return lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY), 0;
    ColorBox *first = (ColorBox *)calloc(1, sizeof(ColorBox));
    if (!first) return lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY), 0;
    first->start = 0;
    first->count = job->distinct;
    median_box_measure(first, job->order);
    median_list_insert(&job->list, first);
    if (!median_split_all(&job->list, job->order, (int)colors)) lc_message(MSG_ERROR, IDS_MEDIAN_PARTIAL);

    WORD bits = colors <= 16 ? 4 : 8;
    if (!dib_create(job->src.dib.width, job->src.dib.height, bits, colors, &job->out))
        return lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY), 0;
    job->out.header->biXPelsPerMeter = job->src.dib.header->biXPelsPerMeter;
    job->out.header->biYPelsPerMeter = job->src.dib.header->biYPelsPerMeter;
    make_palette(job, job->out.colors);
    if (!dither) {
        map_plain(job);
        return 1;
    }
    free(job->counts);
    job->counts = NULL;
    return palette_map_dither(dib, job->out.handle, 1);
}

extern "C" int median_cut_reduce(HGLOBAL dib, HGLOBAL *out, DWORD colors, int dither) {
    *out = NULL;
    if (colors < 1 || colors > 256) {
        lc_message(MSG_ERROR, IDS_COLOR_BAD_DEPTH, (unsigned)colors);
        return 0;
    }
    MedianJob job;
    memset(&job, 0, sizeof job);
    if (!source_open(dib, &job.src)) return 0;
    int height = (int)job.src.dib.height;
    color_progress_begin(dither ? IDS_PROGRESS_MEDIAN_DITHER : IDS_PROGRESS_MEDIAN, 2 * height);
    int ok = run(&job, dib, colors, dither);
    color_progress_end(0);
    job_free(&job);
    if (!ok) {
        dib_discard(&job.out);
        return 0;
    }
    *out = job.out.handle;
    dib_close(&job.out);
    return 1;
}

extern "C" HGLOBAL optimized_cut(HGLOBAL dib, DWORD colors, int dither) {
    HGLOBAL out;
    return median_cut_reduce(dib, &out, colors, dither) ? out : NULL;
}
