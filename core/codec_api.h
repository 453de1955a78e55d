/* The calling convention every codec and format plug-in follows. */
#ifndef LC_CODEC_API_H
#define LC_CODEC_API_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Loader: clears *out, decodes the file into a new DIB and stores it in
   *out; returns non-zero on success, 0 after showing its own message. */
typedef int(WINAPI *FmtLoadProc)(LPSTR path, HGLOBAL *out);
/* Writer: never changes the DIB it is given (it converts a copy). */
typedef int(WINAPI *FmtSaveProc)(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
/* Validator: non-zero when the entry takes the file. */
typedef int(WINAPI *FmtValidateProc)(LPSTR path);

/* Handler sentinels, compared by identity. */
int WINAPI LoadNone(LPSTR path, HGLOBAL *out);
int WINAPI LoadDisabled(LPSTR path, HGLOBAL *out);
int WINAPI LoadByPlugin(LPSTR path, HGLOBAL *out);
int WINAPI SaveNone(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int WINAPI SaveDisabled(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int WINAPI SaveByPlugin(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int WINAPI ValidateAlways(LPSTR path);

#ifdef __cplusplus
}
#endif

#endif
