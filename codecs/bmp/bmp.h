/* The Windows bitmap family: one reader and one writer for BMP, DIB and
   RLE files (a DIB with or without the 14-byte file header, optionally
   run-length compressed), and the clipboard-file reader. */
#ifndef LC_CODEC_BMP_H
#define LC_CODEC_BMP_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI BmpLoad(LPSTR path, HGLOBAL *out);
int WINAPI BmpSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int WINAPI ClpLoad(LPSTR path, HGLOBAL *out);

/* The readers after the file is in memory (what the loaders above call,
   and what the fuzz targets drive).  They report failures like the
   loaders.  maxImageBytes caps the uncompressed pixel data a file may ask
   for (a machine with that much memory); larger images fail as out of
   memory.  Pass BMP_NO_IMAGE_LIMIT for the loaders' behaviour. */
#define BMP_NO_IMAGE_LIMIT ((size_t)-1)
int bmp_decode_memory(const BYTE *data, size_t size, size_t maxImageBytes, HGLOBAL *out);
int clp_decode_memory(const BYTE *data, size_t size, size_t maxImageBytes, HGLOBAL *out);

#ifdef __cplusplus
}
#endif

#endif
