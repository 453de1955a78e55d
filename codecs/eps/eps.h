/* Encapsulated PostScript writer: one page, one point per pixel, the
   pixels as hexadecimal text under a small prologue. */
#ifndef LC_CODECS_EPS_H
#define LC_CODECS_EPS_H

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI EpsSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

#ifdef __cplusplus
}
#endif

#endif
