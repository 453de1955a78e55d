/* zynlib: depth and gray conversions, DIB scaling and palette matching. */
#ifndef ZYNLIB_COLOR_H
#define ZYNLIB_COLOR_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- depth and gray conversions --------------------------------------- */

/* A gray copy: 1, 4 and 8 bits keep their pixels under a gray table; 24
   and 32 bits become 8 bits over the ramp 0..255.  Null without a message. */
HGLOBAL WINAPI ZYN_DIB_DIBToGray(HGLOBAL dib);
/* Widens 1, 4, 8 or 24 bits to 4, 8, 24 or 32 (alpha 255); 16 gives the
   16-bit level (24 bits, low three bits of each channel clear).  Reports
   and returns null on failure. */
HGLOBAL WINAPI ZYN_DIB_IncreaseBpp(HGLOBAL dib, UINT bits);
/* A 32-bit image whose alpha comes from the mask's gray (8 and 24 bits)
   or alpha (32 bits); a mask of another size is stretched first. */
HGLOBAL WINAPI ZYN_DIB_AddAlpha(HGLOBAL image, HGLOBAL mask);

/* ---- scaling ------------------------------------------------------------ */

/* Nearest neighbour to any size; 1, 4, 8, 24 and 32 bits. */
HGLOBAL WINAPI ZYN_DIB_StretchDIB(HGLOBAL dib, int width, int height);
/* 8, 24 and 32 bits: 2w + extraColumn by 2h + extraRow. */
HGLOBAL WINAPI ZYN_DIB_DoubleDIB(HGLOBAL dib, BOOL extraColumn, BOOL extraRow);
/* 8, 24 and 32 bits, point sampled. */
HGLOBAL WINAPI ZYN_DIB_HalfDIB(HGLOBAL dib);
/* 2 x 2 averages: 24 bits (32 for a 32-bit input). */
HGLOBAL WINAPI ZYN_DIB_HQHalfDIB(HGLOBAL dib);
/* 8 bits, point sampled, same table. */
HGLOBAL WINAPI ZYN_DIB_HalfSDIB8(HGLOBAL dib);
HGLOBAL WINAPI ZYN_DIB_QuarterSDIB8(HGLOBAL dib);
/* 8 bits through the half-step table (between Init and Exit HSMatch). */
HGLOBAL WINAPI ZYN_DIB_HSHQHalfDIB8(HGLOBAL dib);
HGLOBAL WINAPI ZYN_DIB_HSHQQuarterDIB8(HGLOBAL dib);

/* ---- palette matching --------------------------------------------------- */

/* The half-step table of the DIB's color table, read from or written to
   path when one is given.  0 when the table cannot be allocated. */
BOOL WINAPI ZYN_DIB_InitHSMatch(HGLOBAL dib, LPCSTR path);
void WINAPI ZYN_DIB_ExitHSMatch(void);

/* The affine map of the source triangle onto the destination triangle,
   each as x0, y0, x1, y1, x2, y2. */
void WINAPI ZYN_CT_Transform(double x, double y, double *outX, double *outY, const double *source,
                             const double *destination);

#ifdef _WIN32
/* A new DIB of 1, 4 or 8 bits in the palette's colors; null when memory is
   short (no message). */
HGLOBAL WINAPI ZYN_DIB_CutToPalette(HGLOBAL dib, HPALETTE palette);
/* Draws the DIB, banded and reduced to the 3-3-2 palette on a display of 8
   bits or fewer; dither and alphaMode of -1 repeat the last ones given. */
void WINAPI ZYN_DIB_FastPalDibBlt(HDC dc, HGLOBAL dib, LPARAM ignored, int dither, int alphaMode);
#else
/* Natively there are no palette objects: a logical palette is its record. */
HGLOBAL WINAPI ZYN_DIB_CutToPalette(HGLOBAL dib, const LOGPALETTE *palette);
#endif

#ifdef __cplusplus
}
#endif

#endif
