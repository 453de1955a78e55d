#include "stylize_fixture.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "zynlib.h"

namespace {

typedef HGLOBAL(WINAPI *CallFilterProc)(DWORD, HGLOBAL, int, DWORD, DWORD, DWORD, DWORD);

int clamp8(double v) { return v < 0 ? 0 : v > 255 ? 255 : (int)(v + 0.5); }

struct Rgb {
  double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// The colour at (u, v), both 0..1 from the top left.
Rgb landscape(double u, double v) {
  const Rgb zenith = {40, 70, 150}, horizon = {250, 190, 140}, sun = {255, 240, 190};
  const Rgb far_hill = {110, 110, 150}, near_hill = {60, 120, 50}, water = {40, 80, 120};
  double horizon_v = 0.62;
  Rgb c = mix(zenith, horizon, v / horizon_v > 1 ? 1 : v / horizon_v);
  double sd = hypot(u - 0.7, (v - 0.3) * 0.75);
  if (sd < 0.07) c = sun;
  else if (sd < 0.25) c = mix(c, sun, (0.25 - sd) / 0.18 * 0.6);
  double far_top = 0.48 + 0.06 * sin(u * 9.0) + 0.03 * sin(u * 23.0 + 1.0);
  if (v > far_top) c = mix(far_hill, horizon, (horizon_v - v) / 0.2 * 0.3);
  double near_top = 0.56 + 0.05 * sin(u * 5.0 + 2.0);
  if (v > near_top) c = mix(near_hill, Rgb{30, 70, 30}, (v - near_top) * 4 > 1 ? 1 : (v - near_top) * 4);
  if (v > 0.72) {
    // The water mirrors the sky, broken by ripples.
    double mirror = 0.72 - (v - 0.72) * 1.6;
    Rgb sky = mix(zenith, horizon, mirror / horizon_v < 0 ? 0 : mirror / horizon_v);
    c = mix(sky, water, 0.45 + 0.15 * sin(v * 160.0 + sin(u * 30.0)));
  }
  double tx = u - 0.22, ty = v - 0.45;
  if (fabs(tx) < 0.015 && ty > 0 && ty < 0.25) c = {90, 60, 35};
  if (hypot(tx, ty * 0.8) < 0.1) {
    // Leaves: light from the sun's side, clumps of uneven shade.
    double clumps = sin(u * 61.0 + 3.0 * sin(v * 47.0)) * sin(v * 53.0 + 2.0 * sin(u * 37.0));
    c = mix({25, 70, 25}, {95, 160, 70}, 0.45 + 0.3 * clumps + (tx + 0.1) * 1.2);
  }
  return c;
}

} // namespace

std::string suite_dir() {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, sizeof path);
  *strrchr(path, '\\') = '\0';
  return path;
}

HGLOBAL photo_dib(int w, int h) {
  DWORD stride = (DWORD)(w * 3 + 3) & ~3u;
  HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + stride * (DWORD)h);
  BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)GlobalLock(dib);
  bi->biSize = sizeof *bi;
  bi->biWidth = w;
  bi->biHeight = h;
  bi->biPlanes = 1;
  bi->biBitCount = 24;
  bi->biSizeImage = stride * (DWORD)h;
  BYTE *rows = (BYTE *)(bi + 1);
  DWORD grain = 12345;
  for (int y = 0; y < h; y++) {
    BYTE *p = rows + (DWORD)(h - 1 - y) * stride; // row 0 is the bottom row
    for (int x = 0; x < w; x++, p += 3) {
      Rgb c = landscape((x + 0.5) / w, (y + 0.5) / h);
      grain = grain * 1103515245u + 12345u;
      double n = (double)((grain >> 16) & 15) - 7.5;
      p[0] = (BYTE)clamp8(c.b + n);
      p[1] = (BYTE)clamp8(c.g + n);
      p[2] = (BYTE)clamp8(c.r + n);
    }
  }
  GlobalUnlock(dib);
  return dib;
}

HGLOBAL direct_filter(const StylizeChoice &c, HGLOBAL dib) {
  CallFilterProc call = (CallFilterProc)(void *)GetProcAddress(GetModuleHandleA("style.dll"), "STY_CallFilter");
  if (!call) return NULL;
  return call((DWORD)c.filter, dib, c.amount, (DWORD)c.p1, (DWORD)c.p2, (DWORD)c.p3, c.color);
}

bool same_dib(HGLOBAL a, HGLOBAL b) {
  if (!a || !b) return false;
  SIZE_T n = GlobalSize(a) < GlobalSize(b) ? GlobalSize(a) : GlobalSize(b);
  BITMAPINFOHEADER *ha = (BITMAPINFOHEADER *)GlobalLock(a), *hb = (BITMAPINFOHEADER *)GlobalLock(b);
  DWORD used = ha->biSize + ha->biSizeImage;
  bool same = ha->biSizeImage == hb->biSizeImage && used <= n && memcmp(ha, hb, used) == 0;
  GlobalUnlock(a);
  GlobalUnlock(b);
  return same;
}

void StylizeTest::SetUp() {
  ViewerTest::SetUp();
  char name[64];
  snprintf(name, sizeof name, "LumacastTest-Stylize-%lu", GetCurrentProcessId());
  company_ = name;
  ZYN_REG_SetCompany(name);
}

void StylizeTest::TearDown() {
  ViewerTest::TearDown(); // the frame goes, and the host library with it
  imagehost_set_library(NULL);
  SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + company_).c_str());
  ZYN_REG_SetCompany("OrvantaImaging");
}

void StylizeTest::bind_host(const std::string &dir) {
  static std::string path;
  path = (dir.empty() ? suite_dir() : dir) + "\\IMAGEHOST.DLL";
  imagehost_set_library(path.c_str());
  imagehost_bind(frame_, st_.client, FALSE);
  ASSERT_TRUE(imagehost_bound()) << path;
}

void StylizeTest::restart_host() {
  remove_image_windows();
  DestroyWindow(frame_);
  pump_messages();
  ASSERT_EQ(GetModuleHandleA("IMAGEHOST.DLL"), nullptr);
  ASSERT_EQ(GetModuleHandleA("style.dll"), nullptr);
  frame_ = frame_create(GetModuleHandleA(NULL), &st_);
  ASSERT_NE(frame_, nullptr);
  g_shell.frame = frame_;
  g_shell.client = st_.client;
  ShowWindow(frame_, SW_SHOWNORMAL);
  pump_messages();
  bind_host();
}

HMENU StylizeTest::stylize_popup(int *position) const {
  HMENU bar = GetMenu(frame_);
  for (int i = 0; i < GetMenuItemCount(bar); i++)
    if (menu_text(bar, (UINT)i) == "&Stylize") {
      if (position) *position = i;
      return GetSubMenu(bar, i);
    }
  return NULL;
}

void StylizeTest::open_stylize_popup() {
  int position = 0;
  HMENU popup = stylize_popup(&position);
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(position, FALSE));
}

HWND StylizeTest::open_photo(int w, int h) {
  HWND window = image_window_create_with(photo_dib(w, h), "Landscape");
  if (window) SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)window, 0);
  pump_messages();
  return window;
}

int StylizeTest::command(UINT id, DialogScript &script) {
  int before = script.steps_run();
  SendMessageA(frame_, WM_COMMAND, id, 0);
  pump_messages();
  return script.steps_run() - before;
}

void choose_filter(HWND dialog, int n) {
  HWND list = GetDlgItem(dialog, IDC_STZ_LIST);
  SendMessageA(list, LB_SETCURSEL, (WPARAM)n, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_STZ_LIST, LBN_SELCHANGE), (LPARAM)list);
}

void set_value(HWND dialog, int row, int value) { SetDlgItemInt(dialog, row + STZ_ROW_EDIT, (UINT)value, FALSE); }

int shown_value(HWND dialog, int row) {
  BOOL ok = FALSE;
  int v = (int)GetDlgItemInt(dialog, row + STZ_ROW_EDIT, &ok, FALSE);
  return ok ? v : -1;
}

int track_value(HWND dialog, int row) {
  return (int)SendDlgItemMessageA(dialog, row + STZ_ROW_TRACK, TBM_GETPOS, 0, 0);
}

void press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}
