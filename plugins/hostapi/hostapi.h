/* The host services of the plug-in host library IMAGEHOST.DLL, as a
   plug-in calls them (link with the library's import library).  Each is a
   request to the program's frame (host_requests.h). */
#ifndef LC_HOSTAPI_H
#define LC_HOSTAPI_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef LC_BUILDING_IMAGEHOST
#define LC_HOSTAPI __declspec(dllexport)
#else
#define LC_HOSTAPI
#endif

/* Function plug-ins (image windows W). */
LC_HOSTAPI HGLOBAL WINAPI RQ_GetHDib(HWND w);
LC_HOSTAPI HGLOBAL WINAPI RQ_CopyHDib(HWND w);
LC_HOSTAPI void WINAPI RQ_ReplaceHDib(HWND w, HGLOBAL dib);
LC_HOSTAPI int WINAPI RQ_GetFlag(HWND w, DWORD bits);
LC_HOSTAPI void WINAPI RQ_SetInfo(HWND w, DWORD offset, DWORD value);
LC_HOSTAPI HPALETTE WINAPI RQ_GetPalette(HWND w);
LC_HOSTAPI void WINAPI RQ_PaintDib(HDC dc, HGLOBAL dib, HPALETTE palette);
LC_HOSTAPI HWND WINAPI RQ_GetOwnerWindow(HWND w);
LC_HOSTAPI HMENU WINAPI RQ_ReserveMenu(int count);
LC_HOSTAPI UINT WINAPI RQ_ReserveMenuId(void);
LC_HOSTAPI void WINAPI RQ_ShowHelpText(const char *text);
/* Two 64-byte texts: the product and version keys of the settings store. */
LC_HOSTAPI void WINAPI RQ_GetSettingsKey(int reserved, char *product, char *version);
LC_HOSTAPI void WINAPI RQ_ProgressStart(HWND owner, const char *caption);
LC_HOSTAPI void WINAPI RQ_ProgressRange(int low, int high);
LC_HOSTAPI void WINAPI RQ_ProgressStep(int position);
LC_HOSTAPI void WINAPI RQ_ProgressEnd(void);

/* Format plug-ins. */
LC_HOSTAPI void WINAPI RQ_FmtRegister(BYTE *record);
LC_HOSTAPI void WINAPI RQ_FmtProgressRange(int low, int high);
LC_HOSTAPI void WINAPI RQ_FmtProgressStep(int percent);
LC_HOSTAPI void WINAPI RQ_FmtSetInfoWord(int key, int value);
LC_HOSTAPI void WINAPI RQ_FmtSetInfoLong(int key, long value);
LC_HOSTAPI void WINAPI RQ_FmtSetInfoText(int key, const char *text);
LC_HOSTAPI void WINAPI RQ_FmtInfoDone(void);
LC_HOSTAPI int WINAPI RQ_InBatch(void);
LC_HOSTAPI int WINAPI RQ_GetBatchSession(void);

/* The entry points of a function plug-in, looked up by name. */
#define IMGLIB_VERSION 0x0101
#define IMGLIB_HANDLED 2
typedef int(WINAPI *ImgLibVersionProc)(DWORD version, DWORD x, DWORD y);
typedef int(WINAPI *ImgLibInitProc)(ULONG_PTR hostValue, HWND frame);
typedef int(WINAPI *ImgLibActivateProc)(HWND window, DWORD activating, DWORD x);
typedef int(WINAPI *ImgLibMenuInitProc)(DWORD x, HMENU menu, DWORD y);
typedef int(WINAPI *ImgLibMenuHandlerProc)(DWORD x, DWORD commandId, LRESULT *result);
typedef int(WINAPI *ImgLibHelpHandlerProc)(DWORD x, DWORD commandId, DWORD flags, LRESULT *result);
typedef int(WINAPI *ImgLibQueryExitProc)(void);
typedef int(WINAPI *ImgLibExitProc)(void);
typedef HICON(WINAPI *ImgLibIconProc)(void);

#ifdef __cplusplus
}
#endif

#endif
