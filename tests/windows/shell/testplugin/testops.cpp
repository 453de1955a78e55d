// A small function plug-in for the tests: an "Testops" popup whose
// first item inverts the active image through the host services and whose
// second only proves that the ids increase.
#include <windows.h>

#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

HWND g_frame, g_active;
UINT g_invert_id, g_other_id;

void invert(HGLOBAL dib) {
  BITMAPINFOHEADER *bi;
  RGBQUAD *colors;
  BYTE *bits;
  if (!ZYN_DIB_LockPtrs(dib, &bi, &colors, &bits)) return;
  if (bi->biBitCount <= 8) {
    for (DWORD i = 0; i < ZYN_DIB_NumColors(bi); i++) {
      colors[i].rgbRed ^= 0xFF;
      colors[i].rgbGreen ^= 0xFF;
      colors[i].rgbBlue ^= 0xFF;
    }
  } else {
    DWORD stride = ((DWORD)bi->biWidth * bi->biBitCount + 31) / 32 * 4;
    for (DWORD i = 0; i < stride * (DWORD)bi->biHeight; i++) bits[i] ^= 0xFF;
  }
  GlobalUnlock(dib);
}

} // namespace

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_Version(DWORD version, DWORD, DWORD) {
  return (version & 0xFFFF) == IMGLIB_VERSION;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_Init(ULONG_PTR, HWND frame) {
  g_frame = frame;
  HMENU menu = RQ_ReserveMenu(1);
  if (!menu) return 0;
  g_invert_id = RQ_ReserveMenuId();
  g_other_id = RQ_ReserveMenuId();
  if (!g_invert_id || !g_other_id) return 0;
  AppendMenuA(menu, MF_STRING, g_invert_id, "&Invert Test Image");
  AppendMenuA(menu, MF_STRING, g_other_id, "&Nothing");
  return 1;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_ImageActivate(HWND window, DWORD activating, DWORD) {
  if (activating & 0xFFFF) g_active = window;
  else if (g_active == window) g_active = NULL;
  return 1;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_MenuInit(DWORD, HMENU menu, DWORD) {
  BOOL on = g_active && RQ_GetHDib(g_active);
  EnableMenuItem(menu, g_invert_id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  return 1;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_MenuHandler(DWORD, DWORD id, LRESULT *result) {
  if ((id & 0xFFFF) != g_invert_id || !g_active) return 0;
  HGLOBAL copy = RQ_CopyHDib(g_active);
  if (!copy) return 0;
  invert(copy);
  RQ_ReplaceHDib(g_active, copy);
  *result = 1;
  return IMGLIB_HANDLED;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_HelpHandler(DWORD, DWORD id, DWORD flags, LRESULT *result) {
  if ((flags & 0xFFFF) || (id & 0xFFFF) != g_invert_id) return 0;
  RQ_ShowHelpText("Invert the test image");
  *result = 1;
  return IMGLIB_HANDLED;
}

extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_QueryExit(void) { return 1; }
extern "C" __declspec(dllexport) int WINAPI RQ_ImgLib_Exit(void) { return 1; }
extern "C" __declspec(dllexport) HICON WINAPI RQ_ImgLib_Icon(void) { return NULL; }
