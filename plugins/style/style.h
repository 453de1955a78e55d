/* style, the stylize plug-in: 39 filters behind one entry point, and the
   filter table that an editor (or a tool) lists them from. */
#ifndef STYLE_H
#define STYLE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define STY_FILTER_COUNT 39
#define STY_FULL_AMOUNT 16384

/* Flag bits of a table entry. */
#define STY_FLAG_EDITOR 0x1 /* read only by the outside editor */
#define STY_FLAG_COLOR 0x2  /* the filter uses the color argument */

/* Applies filter number `filter` (0 to 38) to the DIB and returns a new
   24-bit DIB (32-bit with the alpha bytes kept for a 32-bit source); the
   source is left alone.  amount 0..16384, p1 to p3 0..255 (larger values
   are clamped); color is red in the low byte, then green, then blue.
   0 for a filter number past the table, an image that cannot be
   filtered (reported), memory running out (reported) or a stop through
   the background call. */
HGLOBAL WINAPI STY_CallFilter(DWORD filter, HGLOBAL dib, int amount, DWORD p1, DWORD p2, DWORD p3,
                              DWORD color);
/* Does nothing; the module's end. */
int WINAPI WEP(int reason);

/* What the table says of one filter, for listing. */
typedef struct StyFilterInfo {
    int number;
    UINT nameId;          /* string id of the name */
    DWORD flags;
    int rows;             /* 1: the generic row driver, 0: a whole-image routine */
    UINT label1, label2;  /* string ids of the slider labels, 0 for none */
    int default1, default2;
} StyFilterInfo;

/* 0 for a number past the table. */
int sty_filter_info(int number, StyFilterInfo *info);
/* The module whose string table holds the names and labels. */
HINSTANCE sty_instance(void);

#ifdef __cplusplus
}
#endif

#endif
