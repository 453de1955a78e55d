#include "frame_fixture.h"

#include <cstdlib>

#include "image_record.h"

void pump_messages() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue; // left by a destroyed frame
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void FrameTest::SetUpTestSuite() {
  HINSTANCE inst = GetModuleHandleA(NULL);
  g_shell.inst = inst;
  ASSERT_TRUE(shell_register_classes(inst));
  ASSERT_TRUE(shell_catalogue_register());
}

void FrameTest::SetUp() {
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
  DWORD *rec = (DWORD *)calloc(IR_WORDS, sizeof(DWORD));
  rec[IR_FLAGS / 4] = flags;
  rec[IR_IMAGE / 4] = image;
  rec[IR_DEPTH / 4] = depth;
  SetWindowLongPtrA(w, IMAGE_SLOT_RECORD * sizeof(LONG_PTR), (LONG_PTR)rec);
  if (undo_image) {
    DWORD *undo = (DWORD *)calloc(IR_WORDS, sizeof(DWORD));
    undo[IR_IMAGE / 4] = undo_image;
    SetWindowLongPtrA(w, IMAGE_SLOT_UNDO * sizeof(LONG_PTR), (LONG_PTR)undo);
  }
  g_shell.active = w;
  return w;
}

void FrameTest::free_records(HWND c) {
  for (int slot = 0; slot < LC_IMAGE_SLOTS; ++slot) {
    free((void *)GetWindowLongPtrA(c, slot * sizeof(LONG_PTR)));
    SetWindowLongPtrA(c, slot * sizeof(LONG_PTR), 0);
  }
}

void FrameTest::remove_image_windows() {
  if (!st_.client || !IsWindow(st_.client)) return;
  HWND c;
  while ((c = GetWindow(st_.client, GW_CHILD)) != NULL) {
    free_records(c);
    SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)c, 0);
  }
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
