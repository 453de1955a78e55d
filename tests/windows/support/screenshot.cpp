#include "screenshot.h"

#include <stdio.h>
#include <stdlib.h>

void pump_for(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms) Sleep(10);
  } while (GetTickCount() - start < ms);
}

static BOOL write_bmp(const char *path, HDC mem, HBITMAP bitmap, int w, int h) {
  BITMAPINFOHEADER bi = {};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
  BYTE *bits = (BYTE *)malloc(size);
  if (!bits) return FALSE;
  GetDIBits(mem, bitmap, 0, (UINT)h, bits, (BITMAPINFO *)&bi, DIB_RGB_COLORS);
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi;
  fh.bfSize = fh.bfOffBits + size;
  FILE *f = fopen(path, "wb");
  BOOL ok = f && fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi, sizeof bi, 1, f) == 1 &&
            fwrite(bits, 1, size, f) == size;
  if (f) fclose(f);
  free(bits);
  return ok;
}

BOOL save_screenshot(HWND window, const char *name) {
  const char *dir = getenv("LC_SCREENSHOT_DIR");
  if (!dir || !*dir || !window) return FALSE;
  RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump_for(150);
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return FALSE;
  HDC screen = GetDC(NULL);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  char path[MAX_PATH];
  snprintf(path, sizeof path, "%s\\%s.bmp", dir, name);
  BOOL ok = write_bmp(path, mem, bitmap, w, h);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(NULL, screen);
  return ok;
}
