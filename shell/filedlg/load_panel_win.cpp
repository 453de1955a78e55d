// The "Loading..." panel (class "DisplayClass"): the load information of
// the file being read, in two columns under its name, and a bar for the
// loader's steps.  It draws what the engine's load-panel state holds.
#include <stdio.h>
#include <string.h>

#include "core/load_panel.h"
#include "shell_win.h"

namespace {

const char kClass[] = "DisplayClass";
HWND g_panel;
HFONT g_font;
// A load that is over quickly shows no panel at all (it would only
// flash): the panel appears once a load has run this long.
const DWORD kShowAfterMs = 150;
BOOL g_loading;
DWORD g_load_start;
char g_title[64];

// Fields shown in the columns, in the record's order after the file.
const int kLeft[] = {LI_FORMAT, LI_WIDTH, LI_HEIGHT, LI_PLANES, LI_BITS_PER_PIXEL, LI_COLORS};
const int kRight[] = {LI_PALETTE, LI_GRAY, LI_COMPRESSED, LI_MEMORY, LI_TYPE, LI_VERSION};
const int kRows = 6;

void value_text(int field, char *out, size_t size) {
  switch (field) {
    case LI_PALETTE:
    case LI_GRAY:
    case LI_COMPRESSED: snprintf(out, size, "%s", loadinfo_number(field) ? "Yes" : "No"); break;
    case LI_MEMORY: snprintf(out, size, "%lu", (unsigned long)loadinfo_number(field)); break;
    default: snprintf(out, size, "%lu", (unsigned long)loadinfo_number(field)); break;
  }
}

void draw_field(HDC dc, int field, int x, int y, int label_w, int w) {
  char label[32] = "", value[64] = "";
  LoadStringA(g_shell.inst, loadinfo_label_id(field), label, sizeof label);
  if (load_panel_info_is_ready()) value_text(field, value, sizeof value);
  RECT lr = {x, y, x + label_w, y + 16}, vr = {x + label_w, y, x + w, y + 16};
  DrawTextA(dc, label, -1, &lr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  DrawTextA(dc, value, -1, &vr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void draw_bar(HDC dc, const RECT &r) {
  FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
  DWORD steps = load_panel_steps(), step = load_panel_current_step();
  if (!steps) return;
  if (step > steps) step = steps;
  RECT fill = r;
  InflateRect(&fill, -1, -1);
  fill.right = fill.left + (int)((long long)(fill.right - fill.left) * step / steps);
  HBRUSH red = CreateSolidBrush(RGB(0xC0, 0, 0));
  FillRect(dc, &fill, red);
  DeleteObject(red);
}

void paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT c;
  GetClientRect(w, &c);
  FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, g_font ? g_font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const int margin = 8, line = 16, half = (c.right - 2 * margin) / 2;
  char file[LC_PATH_MAX + 16], label[32] = "";
  LoadStringA(g_shell.inst, loadinfo_label_id(LI_FILE), label, sizeof label);
  snprintf(file, sizeof file, "%s %s", label, loadinfo_text(LI_FILE));
  RECT fr = {margin, margin, c.right - margin, margin + line};
  DrawTextA(dc, file, -1, &fr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  for (int i = 0; i < kRows; i++) {
    int y = margin + line * (i + 1) + 4;
    draw_field(dc, kLeft[i], margin, y, half * 11 / 20, half);
    draw_field(dc, kRight[i], margin + half, y, half * 11 / 20, half);
  }
  RECT bar = {margin, c.bottom - margin - 12, c.right - margin, c.bottom - margin};
  draw_bar(dc, bar);
  SelectObject(dc, old);
  EndPaint(w, &ps);
}

LRESULT CALLBACK panel_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    paint(w);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcA(w, msg, wp, lp);
}

BOOL register_class(void) {
  WNDCLASSA wc = {};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = panel_proc;
  wc.hInstance = g_shell.inst;
  wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_WAIT);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Dialog units x 56, y 20, 194 wide, 115 high, over the frame.
void create_panel(const char *title) {
  if (g_panel || !g_shell.frame || !register_class()) return;
  LONG units = GetDialogBaseUnits();
  int bx = LOWORD(units), by = HIWORD(units);
  RECT r = {56 * bx / 4, 20 * by / 8, (56 + 194) * bx / 4, (20 + 115) * by / 8};
  MapWindowPoints(g_shell.frame, NULL, (POINT *)&r, 2);
  if (!g_font) g_font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  g_panel = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, title, WS_POPUP | WS_CAPTION | WS_BORDER, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, g_shell.frame, NULL, g_shell.inst, NULL);
  if (!g_panel) return;
  ShowWindow(g_panel, SW_SHOWNOACTIVATE);
  UpdateWindow(g_panel);
}

void on_open(const char *title) {
  g_loading = TRUE;
  g_load_start = GetTickCount();
  lstrcpynA(g_title, title ? title : "", sizeof g_title);
}

void on_close(void) {
  g_loading = FALSE;
  if (g_panel) DestroyWindow(g_panel);
  g_panel = NULL;
}

void redraw(void) {
  if (!g_panel && g_loading && GetTickCount() - g_load_start >= kShowAfterMs) create_panel(g_title);
  if (!g_panel) return;
  InvalidateRect(g_panel, NULL, FALSE);
  UpdateWindow(g_panel);
}

void on_info_ready(const LoadInfo *) { redraw(); }
void on_progress(DWORD, DWORD) { redraw(); }

} // namespace

void load_panel_window_install(void) {
  static const LoadPanelHooks hooks = {on_open, on_close, on_info_ready, on_progress};
  load_panel_set_hooks(&hooks);
}
