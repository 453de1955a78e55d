#include "image_fixture.h"

#include <shlwapi.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <set>

#include "shell/win/resource.h"
#include "zynlib.h"

std::string suite_dir() {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, sizeof path);
  *strrchr(path, '\\') = '\0';
  return path;
}

HGLOBAL picture(int w, int h, int bits, bool grayTable) {
  int colors = bits <= 8 ? 1 << bits : 0;
  DWORD stride = (DWORD)((w * bits + 31) / 32 * 4);
  HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + stride * h);
  BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)GlobalLock(dib);
  *bi = BITMAPINFOHEADER{sizeof *bi, w, h, 1, (WORD)bits, BI_RGB, stride * h, 0, 0, (DWORD)colors, 0};
  RGBQUAD *table = (RGBQUAD *)(bi + 1);
  for (int i = 0; i < colors; i++) {
    BYTE v = (BYTE)(i * 255 / (colors - 1));
    table[i] = grayTable ? RGBQUAD{v, v, v, 0} : RGBQUAD{(BYTE)(i * 37), (BYTE)(255 - v), v, 0};
  }
  BYTE *rows = (BYTE *)(table + colors);
  for (int y = 0; y < h; y++) {
    BYTE *row = rows + (DWORD)y * stride;
    for (int x = 0; x < w; x++) {
      unsigned v = (unsigned)(x * 5 + y * 3 + (x / 7 + y / 5) % 3 * 40);
      if (bits == 1) row[x / 8] |= (BYTE)(((x / 3 + y / 2) & 1) << (7 - x % 8));
      if (bits == 4) row[x / 2] |= (BYTE)((v & 15) << (x % 2 ? 0 : 4));
      if (bits == 8) row[x] = (BYTE)v;
      if (bits >= 24) {
        BYTE *p = row + x * (bits / 8);
        p[0] = (BYTE)(x * 255 / w), p[1] = (BYTE)(y * 255 / h), p[2] = (BYTE)((x / 6 + y / 6) % 2 ? 220 : 40);
        if (bits == 32) p[3] = (BYTE)(128 + x % 64);
      }
    }
  }
  GlobalUnlock(dib);
  return dib;
}

BITMAPINFOHEADER header_of(HGLOBAL dib) {
  BITMAPINFOHEADER bi = {};
  if (dib) ZYN_DIB_Info(dib, &bi);
  return bi;
}

bool same_pixels(HGLOBAL a, HGLOBAL b) {
  BITMAPINFOHEADER *ha, *hb;
  RGBQUAD *ta, *tb;
  BYTE *pa, *pb;
  if (!a || !b || !ZYN_DIB_LockPtrs(a, &ha, &ta, &pa)) return false;
  if (!ZYN_DIB_LockPtrs(b, &hb, &tb, &pb)) return GlobalUnlock(a), false;
  bool same = ha->biWidth == hb->biWidth && ha->biHeight == hb->biHeight && ha->biBitCount == hb->biBitCount;
  DWORD colors = ZYN_DIB_NumColors(ha);
  same = same && colors == ZYN_DIB_NumColors(hb);
  for (DWORD i = 0; same && i < colors; i++)
    same = ta[i].rgbRed == tb[i].rgbRed && ta[i].rgbGreen == tb[i].rgbGreen && ta[i].rgbBlue == tb[i].rgbBlue;
  DWORD stride = (DWORD)((ha->biWidth * ha->biBitCount + 31) / 32 * 4);
  DWORD bitsUsed = (DWORD)ha->biWidth * ha->biBitCount;
  for (LONG y = 0; same && y < ha->biHeight; y++) {
    const BYTE *ra = pa + y * stride, *rb = pb + y * stride;
    same = memcmp(ra, rb, bitsUsed / 8) == 0;
    if (same && bitsUsed % 8) {
      BYTE mask = (BYTE)(0xFF << (8 - bitsUsed % 8));
      same = (ra[bitsUsed / 8] & mask) == (rb[bitsUsed / 8] & mask);
    }
  }
  GlobalUnlock(a);
  GlobalUnlock(b);
  return same;
}

HGLOBAL undo_image_of(HWND w) {
  ImageRecord *u = image_record(w, IMAGE_SLOT_UNDO);
  return u ? (HGLOBAL)record_get(u, IR_IMAGE) : NULL;
}

void ImageTest::SetUp() {
  ViewerTest::SetUp();
  char name[64];
  snprintf(name, sizeof name, "LumacastTest-Image-%lu", GetCurrentProcessId());
  company_ = name;
  ZYN_REG_SetCompany(name);
}

void ImageTest::TearDown() {
  ViewerTest::TearDown();
  imagehost_set_library(NULL);
  SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + company_).c_str());
  ZYN_REG_SetCompany("OrvantaImaging");
}

void ImageTest::bind_host() {
  static std::string path;
  path = suite_dir() + "\\IMAGEHOST.DLL";
  imagehost_set_library(path.c_str());
  imagehost_bind(frame_, st_.client, FALSE);
  ASSERT_TRUE(imagehost_bound()) << path;
  ASSERT_NE(image_popup(), nullptr) << "image.dll did not start";
}

void ImageTest::restart_host() {
  remove_image_windows();
  DestroyWindow(frame_);
  pump_messages();
  ASSERT_EQ(GetModuleHandleA("image.dll"), nullptr);
  frame_ = frame_create(GetModuleHandleA(NULL), &st_);
  ASSERT_NE(frame_, nullptr);
  g_shell.frame = frame_;
  g_shell.client = st_.client;
  ShowWindow(frame_, SW_SHOWNORMAL);
  pump_messages();
  bind_host();
}

HMENU ImageTest::image_popup(int *position) const {
  HMENU bar = GetMenu(frame_);
  for (int i = 0; i < GetMenuItemCount(bar); i++)
    if (menu_text(bar, (UINT)i) == "&Image") {
      if (position) *position = i;
      return GetSubMenu(bar, i);
    }
  return NULL;
}

void ImageTest::open_image_popup() {
  int position = 0;
  HMENU popup = image_popup(&position);
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(position, FALSE));
}

UINT ImageTest::id_of(ImageEntry e) const { return GetMenuItemID(image_popup(), (int)e); }

HWND ImageTest::open_picture(HGLOBAL dib, const char *title) {
  HWND window = image_window_create_with(dib, title);
  if (window) SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)window, 0);
  pump_messages();
  return window;
}

int ImageTest::run(ImageEntry e, DialogScript &script) {
  int before = script.steps_run();
  SendMessageA(frame_, WM_COMMAND, id_of(e), 0);
  pump_messages();
  return script.steps_run() - before;
}

int ImageTest::run(ImageEntry e) {
  DialogScript none;
  return run(e, none);
}

void ImageTest::undo() {
  SendMessageA(frame_, WM_COMMAND, IDM_UNDO, 0);
  pump_messages();
}

void set_text(HWND dialog, int id, const char *text) { SetDlgItemTextA(dialog, id, text); }

std::string text_of(HWND dialog, int id) {
  char text[512] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void choose_combo(HWND dialog, int id, int item) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, (WPARAM)item, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
}

namespace {

BOOL CALLBACK collect_keys(HWND w, LPARAM lp) {
  char text[128] = "";
  GetWindowTextA(w, text, sizeof text);
  char cls[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") == 0) return TRUE;  // an edit's text is its value
  const char *amp = strchr(text, '&');
  if (amp && amp[1] && amp[1] != '&') {
    auto *keys = (std::vector<char> *)lp;
    keys->push_back((char)tolower((unsigned char)amp[1]));
  }
  return TRUE;
}

}  // namespace

void expect_polished(HWND dialog) {
  std::vector<char> keys;
  EnumChildWindows(dialog, collect_keys, (LPARAM)&keys);
  std::set<char> unique(keys.begin(), keys.end());
  EXPECT_EQ(unique.size(), keys.size()) << window_text(dialog) << ": a mnemonic used twice";
  EXPECT_GT(keys.size(), 0u) << window_text(dialog);
  LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  EXPECT_EQ(HIWORD(def), DC_HASDEFID);
  EXPECT_EQ(LOWORD(def), IDOK) << window_text(dialog);
  HWND focus = GetFocus();
  EXPECT_TRUE(focus && IsChild(dialog, focus)) << window_text(dialog) << ": the focus is in the dialog";
}
