/* colorkit, the colour library the stylize plug-in calls for WaterColor
   and Glass: a stand-in of our own.  Each call takes a DIB and two zeros
   and returns a new DIB, 24-bit, or 32-bit with the alpha bytes kept for a
   32-bit input; the input is left alone.  Null when the input is not an
   image the call takes or memory is short; the library shows no
   messages, its caller reports. */
#ifndef COLORKIT_H
#define COLORKIT_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 17: flat washes of pigment, darker where the paint meets an
   edge, on lighter paper (24 and 32 bits). */
HGLOBAL WINAPI CK_Pigment(HGLOBAL dib, DWORD unused1, DWORD unused2);
/* Ordinal 21: a frosted pane, a wide soft blur that lightens (24 and 32
   bits). */
HGLOBAL WINAPI CK_Frost(HGLOBAL dib, DWORD unused1, DWORD unused2);
/* Ordinal 22: a gentle 3 x 3 blur (8, 24 and 32 bits). */
HGLOBAL WINAPI CK_Soften(HGLOBAL dib, DWORD unused1, DWORD unused2);

typedef HGLOBAL(WINAPI *CkEffectProc)(HGLOBAL dib, DWORD unused1, DWORD unused2);

#ifdef __cplusplus
}
#endif

#endif
