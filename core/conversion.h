/* Depth and color conversion of an image before it is written: the plan
   (pure) and its execution through the color-operations table. */
#ifndef LC_CONVERSION_H
#define LC_CONVERSION_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

enum ConversionStep { CONV_NONE, CONV_INCREASE, CONV_FLAT_CUT, CONV_OPTIMIZED_CUT };

typedef struct ConversionPlan {
    int toGray;    /* convert to gray first */
    int markColor; /* a gray image is only marked as color */
    int step;      /* ConversionStep */
    int target;    /* depth level of the step */
    DWORD colors;  /* optimized cut: 2^target */
    int dither;
    BYTE alpha;      /* increase to 32 bits */
    int resultBits;  /* depth level afterwards */
    int resultColor; /* color flag afterwards */
} ConversionPlan;

/* Save As: the window's level and color flag, the chosen depth and color;
   saveColorcut/saveDither are the settings; iconFrom32 when a 32-bit
   image is being saved as an icon (then no depth change). */
void plan_save_as(int bits, int color, int chosenBits, int chosenColor, int iconFrom32,
                  int saveColorcut, int saveDither, ConversionPlan *plan);

/* The batch facility's conversion of one image: gray when the image is in
   color and Gray is chosen, then up or down to the chosen depth. */
void plan_batch(int bits, int color, int chosenBits, int chosenGray, int optimizedCut, int dither,
                ConversionPlan *plan);

/* Runs the plan on dib.  On success *out is a new DIB (or null when the
   plan changes no pixels) and dib is untouched; 0 after a report. */
int conversion_execute(const ConversionPlan *plan, HGLOBAL dib, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
