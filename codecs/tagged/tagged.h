/* HEX, a tagged text format (width, height, depth, colour map, rows in
   hexadecimal or binary digits), and GEN, a one-line header over raw RGB
   rows. */
#ifndef LC_CODECS_TAGGED_H
#define LC_CODECS_TAGGED_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI HexLoad(LPSTR path, HGLOBAL *out);
int WINAPI HexSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int WINAPI GenLoad(LPSTR path, HGLOBAL *out);
int WINAPI GenSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The readers' work on a whole file held in memory: same contract as the
   loaders (clear *out, report their own failures). */
int HexDecode(const BYTE *data, size_t size, HGLOBAL *out);
int GenDecode(const BYTE *data, size_t size, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
