// The logo and about window (AboutClass): the program's picture and a few
// lines of text; a click or a key takes it down.
#include <string.h>

#include "lumacast_strings.h"
#include "resource.h"
#include "shell_win.h"

namespace {

const int kWidth = 320, kHeight = 200;
const int kPictureHeight = 120;

BOOL shows_picture(void) { return g_shell.screen.depth >= 8; }

RECT placement(void) {
  const ScreenInfo &s = g_shell.screen;
  RECT r;
  if (shows_picture()) {
    SetRect(&r, s.width / 2 - kWidth / 2, s.height / 2 - 150, 0, 0);
    r.right = r.left + kWidth;
    r.bottom = r.top + kHeight;
  } else {
    SetRect(&r, s.width / 4, s.height / 3, 0, 0);
    r.right = r.left + s.width / 2;
    r.bottom = r.top + s.height / 3 + 40;
  }
  return r;
}

// The picture is a DIB resource of type "HDIB", drawn as it is stored.
void draw_picture(HDC dc, const RECT &client) {
  HRSRC res = FindResourceA(g_shell.inst, "LUMACAST", "HDIB");
  HGLOBAL loaded = res ? LoadResource(g_shell.inst, res) : NULL;
  const BITMAPINFOHEADER *bi = loaded ? (const BITMAPINFOHEADER *)LockResource(loaded) : NULL;
  if (!bi || SizeofResource(g_shell.inst, res) < sizeof *bi || bi->biSize != sizeof *bi) return;
  const BYTE *bits = (const BYTE *)bi + bi->biSize + bi->biClrUsed * sizeof(RGBQUAD);
  int w = bi->biWidth, h = bi->biHeight;
  StretchDIBits(dc, 0, 0, client.right, kPictureHeight, 0, 0, w, h, bits, (const BITMAPINFO *)bi,
                DIB_RGB_COLORS, SRCCOPY);
}

void draw_line(HDC dc, const RECT &band, UINT id, BOOL bold) {
  char text[128];
  if (LoadStringA(g_shell.inst, id, text, sizeof text) <= 0) return;
  HFONT font = CreateFontA(bold ? -18 : -12, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                           g_shell.charset, 0, 0, CLEARTYPE_QUALITY, 0, g_shell.sans_face);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = band;
  DrawTextA(dc, text, -1, &r, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));
  int top = 8;
  if (shows_picture()) {
    draw_picture(dc, client);
    top = kPictureHeight + 4;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0x20, 0x20, 0x40));
  const UINT lines[] = {IDS_ABOUT_PRODUCT, IDS_ABOUT_VERSION, IDS_ABOUT_MAKER};
  int step = (client.bottom - top) / 3;
  for (int i = 0; i < 3; i++) {
    RECT band = {0, top + i * step, client.right, top + (i + 1) * step};
    draw_line(dc, band, lines[i], i == 0);
  }
  EndPaint(hwnd, &ps);
}

BOOL dismisses(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR: return TRUE;
    default: return FALSE;
  }
}

HWND create(HWND owner) {
  RECT r = placement();
  return CreateWindowExA(WS_EX_TOPMOST, LC_ABOUT_CLASS, LC_PRODUCT_NAME, WS_POPUP | WS_DLGFRAME | WS_VISIBLE,
                         r.left, r.top, r.right - r.left, r.bottom - r.top, owner, NULL, g_shell.inst, NULL);
}

} // namespace

LRESULT CALLBACK about_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    SetCapture(hwnd);
    return 0;
  }
  if (msg == WM_PAINT) {
    paint(hwnd);
    return 0;
  }
  if (dismisses(msg)) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY && GetCapture() == hwnd) ReleaseCapture();
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND logo_create(HWND owner) {
  HWND w = create(owner);
  if (w) UpdateWindow(w);
  return w;
}

// Messages go on being answered while the logo is up (a second copy may
// be handing over a file); a click or a key anywhere takes it down.
void logo_wait(HWND logo, DWORD delay_ms) {
  HCURSOR saved = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
  DWORD start = GetTickCount();
  BOOL done = FALSE;
  while (!done && IsWindow(logo)) {
    DWORD spent = GetTickCount() - start;
    if (spent >= delay_ms) break;
    MsgWaitForMultipleObjects(0, NULL, FALSE, delay_ms - spent, QS_ALLINPUT);
    MSG msg;
    while (!done && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage((int)msg.wParam);
        done = TRUE;
      } else if (dismisses(msg.message)) {
        done = TRUE;
      } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  if (IsWindow(logo)) DestroyWindow(logo);
  SetCursor(saved);
}

void about_show(HWND owner) {
  HWND w = create(owner);
  if (w) UpdateWindow(w);
}
