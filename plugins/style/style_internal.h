/* Shared inside the stylize plug-in: the filter table's record, the row
   routine signatures, the call's parameters, the job that opens a source
   and builds the output, and the small services (messages, trace,
   random numbers, the background call). */
#ifndef STYLE_INTERNAL_H
#define STYLE_INTERNAL_H

#include "effects_internal.h"
#include "style.h"
#include "style_strings.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- the filter table ------------------------------------------------ */

typedef HGLOBAL (*StyRunProc)(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
/* Before the rows: (width, height, bytes per source pixel); 0 when its
   buffers cannot be had. */
typedef int (*StyRowStartProc)(LONG width, LONG height, int bytesPerPixel);
/* One output row from an 8-bit source: rows holds the start of every
   source row (storage order), table the 256 entries of the source's color
   table (entries it lacks are black). */
typedef void (*StyRow8Proc)(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out,
                            const RGBQUAD *table);
/* The same from a 24- or 32-bit source; is32 is 1 for 4-byte pixels. */
typedef void (*StyRow24Proc)(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out,
                             int is32);
typedef void (*StyRowEndProc)(void);

typedef struct StyFilter {
    DWORD numberAndName; /* high 16 bits the number, low 16 the name's string id */
    DWORD flags;
    StyRunProc run;
    StyRowStartProc rowStart;
    StyRow8Proc row8;
    StyRow24Proc row24;
    StyRowEndProc rowEnd;
    DWORD param1;   /* high 16 bits the first label's string id, low 16 bits 5 */
    DWORD param2;   /* the second label's string id */
    DWORD defaults; /* low 16 bits p1, high 16 bits p2 */
    DWORD reserved;
} StyFilter;

/* 39 entries and the all-zero terminator. */
extern const StyFilter sty_filters[STY_FILTER_COUNT + 1];

/* The generic row driver, the run routine of the row filters, and the
   same over any entry's row routines. */
HGLOBAL sty_run_rows(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_drive_rows(const StyFilter *filter, HGLOBAL dib, int amount);

/* ---- the call's parameters ------------------------------------------- */

typedef struct StyParams {
    int p1, p2, p3; /* 0..255 */
    DWORD color;    /* red low byte, green, blue */
} StyParams;
extern StyParams sty_params;

/* ---- the job: a source opened, the output built ---------------------- */

typedef struct StyJob {
    ZynImage src;        /* locked; 8, 24 or 32 bits with a 40-byte header */
    int bytes;           /* 1, 3 or 4 a source pixel */
    RGBQUAD table[256];  /* 8 bits */
    const BYTE **rows;   /* start of every source row */
    HGLOBAL output;      /* locked */
    BYTE *outBits;
    size_t outStride;
    int outBytes;        /* 3, or 4 for a 32-bit source */
} StyJob;

/* Locks the source, checks it, allocates the output and the row table and
   fills the output header (fresh, 40 bytes, no table).  0 after reporting
   when the image cannot be filtered or memory is short. */
int sty_job_begin(HGLOBAL dib, StyJob *job);
/* Unlocks both, frees the row table, returns the output. */
HGLOBAL sty_job_end(StyJob *job);
/* Unlocks both and frees the output and the row table. */
void sty_job_abort(StyJob *job);
static inline BYTE *sty_job_out_row(const StyJob *job, LONG y) { return job->outBits + (size_t)y * job->outStride; }

/* The DIB a filter is to read: dib itself, or a 40-byte-header 8-bit
   copy of a 1- or 4-bit or core-header image (in *temporary, which the
   caller frees).  0 after reporting. */
HGLOBAL sty_readable_source(HGLOBAL dib, HGLOBAL *temporary);

/* 1 when the row routines' AVX2 build may run; sty_set_wide(0) keeps to
   the plain build (tests compare the two). */
int sty_wide(void);
void sty_set_wide(int allowed);

/* Once per row: 0 when the user stopped the operation. */
int sty_row_done(void);

/* ---- services ---------------------------------------------------------- */

/* "Not enough memory to complete operation", task-modal, no caption. */
void sty_report_nomem(void);
void sty_report(UINT id);
/* A formatted message of the string table in a plain box. */
void sty_message(UINT id, int value);

/* The generator every random filter draws from, the same on every
   build: reseeded with 0 at the start of each image. */
void sty_srand(DWORD seed);
/* 0 .. 2^31 - 1 */
DWORD sty_rand(void);

/* Trace channel 1, a no-op unless the log file exists.  kind is "Flash",
   "Check", "Exe", "Ent" or "Exi"; file and line name the traced place. */
void sty_trace(const char *kind, const char *file, int line, const char *format, ...);
/* Where the trace reads its switches and writes its lines (tests). */
void sty_trace_set_files(const char *ini, const char *log);
#define STY_FLASH(...) sty_trace("Flash", __FILE__, __LINE__, __VA_ARGS__)
#define STY_CHECK(cond) ((cond) ? 1 : (sty_trace("Check", __FILE__, __LINE__, "%s", #cond), 0))
#define STY_NOT_IMPLEMENTED() sty_trace("NotImpl", __FILE__, __LINE__, "Not Implemented Yet")

/* ---- whole-image routines and the row procedures of the table -------- */

#define STY_ROW_DECLS(name)                                                                                  \
    void name##_row8(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out,     \
                     const RGBQUAD *table);                                                                  \
    void name##_row24(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out, int is32);

STY_ROW_DECLS(sty_copy)
STY_ROW_DECLS(sty_mosaic)
STY_ROW_DECLS(sty_solarize)
STY_ROW_DECLS(sty_posterize)
STY_ROW_DECLS(sty_dark_strokes)
STY_ROW_DECLS(sty_sampler)
STY_ROW_DECLS(sty_crosshair)
STY_ROW_DECLS(sty_find_edges)
STY_ROW_DECLS(sty_contours)
STY_ROW_DECLS(sty_charcoal)
STY_ROW_DECLS(sty_stamp)
STY_ROW_DECLS(sty_fresco)
STY_ROW_DECLS(sty_motion_blur)
STY_ROW_DECLS(sty_shake)
STY_ROW_DECLS(sty_center_blur)
STY_ROW_DECLS(sty_radial_blur)
STY_ROW_DECLS(sty_frazzle)
STY_ROW_DECLS(sty_reflection)
STY_ROW_DECLS(sty_kaleidoscope)
void sty_test_filter_row24(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out, int is32);
void sty_lens_flare_row24(LONG y, int amount, LONG width, LONG height, const BYTE *const *rows, BYTE *out, int is32);

/* The two flag rows of Find Edges, Contours and Charcoal. */
int sty_flag_rows_start(LONG width, LONG height, int bytesPerPixel);
void sty_flag_rows_end(void);

HGLOBAL sty_run_texture(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_run_brush(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_run_bubbles(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_run_watercolor(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_run_glass(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);
HGLOBAL sty_run_color_pencil(int filter, HGLOBAL dib, int amount, int p1, int p2, int p3);

/* Runs the colour library's calls in turn from dib, freeing every
   intermediate; 0 after reporting when one gives nothing. */
typedef HGLOBAL(WINAPI *StyOutsideProc)(HGLOBAL dib, DWORD unused1, DWORD unused2);
HGLOBAL sty_outside_chain(HGLOBAL dib, const StyOutsideProc *steps, int count);

/* Filter numbers the compound filters run. */
#define STY_FRAZZLE 23
#define STY_CHARCOAL 31

#ifdef __cplusplus
}
#endif

#endif
