#include "frame_fixture.h"

#include <cstdlib>

#include "zynlib.h"

void pump_messages() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue; // left by a destroyed frame
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

Boxes &boxes() {
  static Boxes b;
  return b;
}

namespace {

int WINAPI record_box(HWND, LPCSTR text, LPCSTR, UINT style) {
  boxes().texts.push_back(text ? text : "");
  UINT type = style & MB_TYPEMASK;
  return type == MB_OK ? IDOK : boxes().answer;
}

} // namespace

HGLOBAL small_dib(int bits, bool gray) { return test_dib(4, 3, bits, gray); }

HGLOBAL test_dib(int w, int h, int bits, bool gray) {
  int colors = bits <= 8 ? 1 << bits : 0;
  DWORD stride = (DWORD)((w * bits + 31) / 32 * 4);
  HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + stride * h);
  BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)GlobalLock(dib);
  bi->biSize = sizeof *bi;
  bi->biWidth = w;
  bi->biHeight = h;
  bi->biPlanes = 1;
  bi->biBitCount = (WORD)bits;
  bi->biSizeImage = stride * h;
  bi->biClrUsed = (DWORD)colors;
  RGBQUAD *table = (RGBQUAD *)(bi + 1);
  for (int i = 0; i < colors; i++) {
    BYTE v = (BYTE)(i * 255 / (colors - 1));
    table[i].rgbRed = v;
    table[i].rgbGreen = gray ? v : (BYTE)(255 - v);
    table[i].rgbBlue = gray ? v : (BYTE)(i * 37);
  }
  BYTE *px = (BYTE *)(table + colors);
  for (DWORD i = 0; i < stride * h; i++) px[i] = (BYTE)(i * 29 + 7);
  GlobalUnlock(dib);
  return dib;
}

void FrameTest::SetUpTestSuite() {
  HINSTANCE inst = GetModuleHandleA(NULL);
  g_shell.inst = inst;
  shell_read_screen();
  ZYN_ERR_SetErrorMethod(record_box);
  ASSERT_TRUE(shell_register_classes(inst));
  ASSERT_TRUE(shell_catalogue_register());
}

void FrameTest::SetUp() {
  boxes().texts.clear();
  boxes().answer = IDNO;
  frame_ = frame_create(GetModuleHandleA(NULL), &st_);
  ASSERT_NE(frame_, nullptr) << "CreateWindow failed: " << GetLastError()
                             << " (Wine needs a display: run under tools/wine)";
  g_shell.frame = frame_;
  g_shell.client = st_.client;
  ShowWindow(frame_, SW_SHOWNORMAL);
  pump_messages();
}

void FrameTest::TearDown() {
  remove_image_windows();
  if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
  pump_messages();
  g_shell.active = NULL;
}

void FrameTest::open_popup(FramePopup p) {
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)st_.popup[p], MAKELPARAM(p, FALSE));
}

HWND FrameTest::add_image_window(DWORD flags, DWORD image, DWORD depth, DWORD undo_image) {
  MDICREATESTRUCTA mcs = {};
  mcs.szClass = LC_IMAGE_CLASS;
  mcs.szTitle = "Image";
  mcs.hOwner = GetModuleHandleA(NULL);
  mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  HWND w = (HWND)SendMessageA(st_.client, WM_MDICREATE, 0, (LPARAM)&mcs);
  if (!w) return NULL;
  int bits = depth == 16 ? 24 : (depth ? (int)depth : 24);
  ImageRecord *rec = image_record(w, IMAGE_SLOT_RECORD);
  record_set(rec, IR_FLAGS, flags);
  record_set(rec, IR_DEPTH, depth);
  if (image) record_set(rec, IR_IMAGE, (ULONG_PTR)small_dib(bits));
  if (undo_image) {
    ImageRecord *undo = image_record_new();
    record_set(undo, IR_IMAGE, (ULONG_PTR)small_dib(bits));
    image_record_set_slot(w, IMAGE_SLOT_UNDO, undo);
  }
  g_shell.active = w;
  return w;
}

void FrameTest::forget_changes(HWND c) {
  record_change_flags(image_record(c, IMAGE_SLOT_RECORD), IRF_MODIFIED, 0);
}

void FrameTest::remove_image_windows() {
  if (!st_.client || !IsWindow(st_.client)) return;
  HWND c;
  while ((c = GetWindow(st_.client, GW_CHILD)) != NULL) SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)c, 0);
  g_shell.active = NULL;
}

LRESULT FrameTest::host(UINT n, HostParamBlock *block) {
  return SendMessageA(frame_, LC_HM_BASE + n, 0, (LPARAM)block);
}

std::string menu_text(HMENU m, UINT pos) {
  char buf[128] = "";
  GetMenuStringA(m, pos, buf, sizeof buf, MF_BYPOSITION);
  return buf;
}

BOOL item_grayed(HMENU m, UINT id) {
  UINT s = GetMenuState(m, id, MF_BYCOMMAND);
  return s != (UINT)-1 && (s & MF_GRAYED) != 0;
}

BOOL item_checked(HMENU m, UINT id_or_pos, UINT by) {
  UINT s = GetMenuState(m, id_or_pos, by);
  return s != (UINT)-1 && (s & MF_CHECKED) != 0;
}
