/* zynlib: the shared library of Lumacast, bound by ordinal.
   Every export keeps the ordinal listed in exports.txt.  Functions marked
   "Windows build only" use GDI or USER and do not exist natively. */
#ifndef ZYNLIB_H
#define ZYNLIB_H

#include "platform.h"

/* The comparison function of ZYN_UTI_QSort is a plain C function; natively
   there is no calling-convention keyword to name. */
#if !defined(_WIN32) && !defined(__cdecl)
#define __cdecl
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- error reporting and background events -------------------------- */

/* Has the signature of the Windows message box. */
typedef int(WINAPI *ZYN_ERRMETHOD)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
typedef int(WINAPI *ZYN_BGCALLBACK)(void);

/* Levels of ZYN_ERR_ErrorID. */
#define ZYN_ERR_LEVEL_PLAIN 1   /* empty caption */
#define ZYN_ERR_LEVEL_ERROR 2   /* no caption of its own */
#define ZYN_ERR_LEVEL_WARNING 3 /* caption: string 19715 of the module */

ZYN_ERRMETHOD WINAPI ZYN_ERR_SetErrorMethod(ZYN_ERRMETHOD method); /* returns the previous one */
int WINAPI ZYN_ERR_Error(LPCSTR text, LPCSTR caption, HWND owner, UINT style);
int WINAPI ZYN_ERR_ErrorID(HINSTANCE module, int level, UINT id);

void WINAPI ZYN_EVT_StartBackground(ZYN_BGCALLBACK callback);
void WINAPI ZYN_EVT_StopBackground(void);
int WINAPI ZYN_EVT_Background(void);

/* System kinds. */
#define ZYN_OS_WIN95 2
#define ZYN_OS_WIN32S 3
#define ZYN_OS_WINNT 4
#define ZYN_OS_WINNT4 5
int WINAPI ZYN_MD_GetOS(void);

DWORD WINAPI ZYN_CRC_ProcessBuffer(const DWORD *table, DWORD crc, const BYTE *bytes, DWORD length);

/* ---- utilities ------------------------------------------------------- */

typedef int(__cdecl *ZYN_COMPARE)(const void *a, const void *b);

HGLOBAL WINAPI ZYN_UTI_CopyHandle(HGLOBAL mem);
LPSTR WINAPI ZYN_UTI_SkipPath(LPSTR path);
void WINAPI ZYN_UTI_QSort(void *array, UINT count, UINT size, ZYN_COMPARE compare);
/* Writes at most ZYN_DATE_MAX bytes (with the NUL) into buffer. */
#define ZYN_DATE_MAX 40
void WINAPI ZYN_UTI_FormatDate(LPSTR buffer, UINT year, UINT month, UINT day);
BOOL WINAPI ZYN_UTI_DeleteFile(LPCSTR path);

#ifdef _WIN32
void WINAPI ZYN_UTI_StartWait(void);
void WINAPI ZYN_UTI_EndWait(void);
void WINAPI ZYN_UTI_MapDlgRect(RECT *rect);
int WINAPI ZYN_UTI_DrawDlgText(HDC dc, LPCSTR text, const RECT *dlgRect, UINT format);
void WINAPI ZYN_UTI_DrawDlgShadowWindow(HDC dc, const RECT *dlgRect, HBRUSH brush);
int WINAPI ZYN_UTI_NormalizeFont(int size, int unit);
int WINAPI ZYN_UTI_Scroll(HWND ignored, WPARAM code, HWND scrollBar, BOOL thumbTrack);
int WINAPI ZYN_UTI_ScrollEx(HWND ignored, WPARAM code, HWND scrollBar, BOOL thumbTrack, int lineStep, int pageStep);
void WINAPI ZYN_UTI_FixDialogSize(HWND dialog);
void WINAPI ZYN_UTI_TransShortLBFiles(HWND dialog, int listBoxId);
void WINAPI ZYN_UTI_DrawSunkBorder(HDC dc, HWND dialog, int controlId);
void WINAPI ZYN_UTI_UpdateSysColors(void);
HBRUSH WINAPI ZYN_UTI_GetSysBrush(int index);
COLORREF WINAPI ZYN_UTI_GetSysColor(int index);
#endif

/* ---- DIB record and core operations ---------------------------------- */

WORD WINAPI ZYN_DIB_NumColors(const void *header);
/* Bytes of the color table: up to 65535 x 4, so wider than 16 bits. */
DWORD WINAPI ZYN_DIB_PaletteSize(const void *header);
DWORD WINAPI ZYN_DIB_BitsToColors(UINT bits);
BOOL WINAPI ZYN_DIB_Info(HGLOBAL dib, BITMAPINFOHEADER *out);
/* Locks the block; the caller unlocks it once.  Null pointers are skipped. */
BOOL WINAPI ZYN_DIB_LockPtrs(HGLOBAL dib, BITMAPINFOHEADER **header, RGBQUAD **colors, BYTE **bits);
HGLOBAL WINAPI ZYN_DIB_Copy(HGLOBAL dib);
HGLOBAL WINAPI ZYN_DIB_FixDIBAlignment(HGLOBAL dib);
void WINAPI ZYN_DIB_FixPalette(HGLOBAL dib);

#ifdef _WIN32
HPALETTE WINAPI ZYN_DIB_CreateBIPalette(const BITMAPINFOHEADER *header);
HPALETTE WINAPI ZYN_DIB_CreatePalette(HGLOBAL dib);
BOOL WINAPI ZYN_DIB_DeletePalette(HPALETTE palette);
HPALETTE WINAPI ZYN_DIB_GetCurrentPalette(void);
HGLOBAL WINAPI ZYN_DIB_DIBFromBitmap(HDC dc, HBITMAP bitmap, DWORD compression, UINT bitCount, HPALETTE palette, UINT usage);
HBITMAP WINAPI ZYN_DIB_BitmapFromDIB(HGLOBAL dib, HPALETTE palette, LPARAM passOn, BOOL dither, int alphaMode);
BOOL WINAPI ZYN_DIB_DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, BOOL invert);
BOOL WINAPI ZYN_DIB_StretchBitmap(HDC dc, HBITMAP bitmap, int x, int y, BOOL invert);
BOOL WINAPI ZYN_DIB_DrawBitmapEx(HDC dc, int x, int y, HBITMAP bitmap, DWORD rop);
int WINAPI ZYN_DIB_StretchDibBlt(HDC dc, int x, int y, int width, int height, HGLOBAL dib, int srcX, int srcY, int srcWidth, int srcHeight, DWORD rop, UINT usage);
HBITMAP WINAPI ZYN_DIB_LoadImage(HINSTANCE instance, LPCSTR name);
#endif

/* ---- DIB effects and compression ------------------------------------ */

/* A blend of two images of the same size, t in 0..16384 (0 = first). */
HGLOBAL WINAPI ZYN_DIB_Fade(HGLOBAL first, HGLOBAL second, int t);
/* The image inside margins of the fill (an index, or for 24 and 32 bits
   the blue, green, red bytes at fillColor). */
HGLOBAL WINAPI ZYN_DIB_Frame(HGLOBAL dib, int left, int right, int top, int bottom, int fillIndex,
                             const BYTE *fillColor);
/* A new DIB in the given compression (0 none, 1 RLE8, 2 RLE4); with the
   resource flag, source is a pointer to a locked DIB resource. */
HGLOBAL WINAPI ZYN_DIB_Compress(HGLOBAL source, BOOL resource, DWORD compression);

#ifdef __cplusplus
}
#endif

/* Scaling, palette matching and depth conversions; the settings store. */
#include "zynlib_color.h"
#include "zynlib_settings.h"

#endif
