// Image windows: opening a file, new windows, installing images with and
// without undo, the screen bitmap setting, the record host messages,
// scrolling, the unsaved-changes question, drops and Save.
#include <stdio.h>
#include <windows.h>
#include <shlobj.h>


#include "core/batch_state.h"
#include "core/catalogue.h"
#include "lumacast_strings.h"
#include "resource.h"
#include "screenshot.h"
#include "shell/settings/settings.h"
#include "viewer_fixture.h"
#include "zynlib.h"

namespace {

std::string text_of_id(UINT id) {
  char t[512] = "";
  LoadStringA(GetModuleHandleA(NULL), id, t, sizeof t);
  return t;
}

int count_of(const std::vector<std::string> &v, const std::string &s) {
  int n = 0;
  for (const std::string &x : v) n += x == s;
  return n;
}

HBITMAP screen_bitmap(HWND w) { return image_screen_bitmap(w); }

BOOL has_bar(HWND w, LONG bar) { return (GetWindowLongA(w, GWL_STYLE) & bar) != 0; }

// A drop of names as Explorer would hand it over (ANSI names).
HDROP make_drop(const std::vector<std::string> &names) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string &n : names) bytes += n.size() + 1;
  HGLOBAL h = GlobalAlloc(GHND, bytes);
  DROPFILES *df = (DROPFILES *)GlobalLock(h);
  df->pFiles = sizeof(DROPFILES);
  char *p = (char *)(df + 1);
  for (const std::string &n : names) {
    memcpy(p, n.c_str(), n.size() + 1);
    p += n.size() + 1;
  }
  GlobalUnlock(h);
  return (HDROP)h;
}

struct ForeignSend {
  HWND frame;
  UINT n;
  HostParamBlock *block;
  LRESULT result;
};

DWORD WINAPI send_from_thread(LPVOID p) {
  ForeignSend *s = (ForeignSend *)p;
  s->result = SendMessageA(s->frame, LC_HM_BASE + s->n, 0, (LPARAM)s->block);
  return 0;
}

// The frame answers while this thread keeps taking messages.
LRESULT host_from_other_thread(HWND frame, UINT n, HostParamBlock *block) {
  ForeignSend s = {frame, n, block, 12345};
  HANDLE t = CreateThread(NULL, 0, send_from_thread, &s, 0, NULL);
  while (MsgWaitForMultipleObjects(1, &t, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) pump_for(0);
  CloseHandle(t);
  return s.result;
}

} // namespace

TEST_F(ViewerTest, AFileOpensInAWindowWithItsRecord) {
  HWND w24 = open_file(card("card24.bmp"));
  HWND w8 = open_file(card("card8.bmp"));
  ASSERT_NE(w24, nullptr);
  ASSERT_NE(w8, nullptr);
  EXPECT_EQ(title_of(w8), card("card8.bmp"));
  ImageRecord *r = record(w8);
  DWORD flags = record_flags(r);
  EXPECT_TRUE(flags & IRF_RASTER);
  EXPECT_TRUE(flags & IRF_COLOR);
  EXPECT_FALSE(flags & (IRF_MODIFIED | IRF_NEW));
  EXPECT_EQ(record_get(r, IR_DEPTH), 8u);
  EXPECT_EQ((int)record_get(r, IR_FORMAT), format_of_extension("BMP"));
  EXPECT_NE(record_get(r, IR_PALETTE), 0u);
  EXPECT_NE(screen_bitmap(w8), nullptr);
  EXPECT_EQ(record_get(record(w24), IR_DEPTH), 24u);
  // Fitted to the image: the client area is the picture's size.
  RECT c;
  GetClientRect(w8, &c);
  EXPECT_EQ(c.right, 320);
  EXPECT_EQ(c.bottom, 240);
  EXPECT_FALSE(has_bar(w8, WS_HSCROLL | WS_VSCROLL));
  SendMessageA(frame_, WM_COMMAND, IDM_TILE, 0);
  save_screenshot(frame_, "viewer-true-colour-and-palette-windows");
}

TEST_F(ViewerTest, NewWindowsAreNumberedFromOne) {
  g_shell.new_count = 0;
  SendMessageA(frame_, WM_COMMAND, IDM_NEW, 0);
  SendMessageA(frame_, WM_COMMAND, IDM_NEW, 0);
  ASSERT_EQ(child_count(), 2);
  HWND active = (HWND)SendMessageA(st_.client, WM_MDIGETACTIVE, 0, 0);
  EXPECT_EQ(title_of(active), "Image2");
  EXPECT_EQ(image_of(active), nullptr);
  EXPECT_TRUE(image_flags(active) & IRF_NEW);
  EXPECT_EQ((DWORD)record_get(record(active), IR_FORMAT), IR_NO_FORMAT);
  // Save without an image says so.
  SendMessageA(frame_, WM_COMMAND, IDM_SAVE, 0);
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], "There is no image to save");
}

TEST_F(ViewerTest, InstallKeepsUndoOnlyByTheSettingAndOutsideBatchRuns) {
  HWND w = open_file(card("card24.bmp"));
  ASSERT_NE(w, nullptr);
  HGLOBAL first = image_of(w);
  // A block the host library keeps at offset 56 has one owner afterwards.
  HGLOBAL owned = GlobalAlloc(GHND, 64);
  record_set(record(w), IR_OWNED_B, (ULONG_PTR)owned);
  image_install(w, test_dib(50, 40, 24));
  ImageRecord *undo = record(w, IMAGE_SLOT_UNDO);
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ((HGLOBAL)record_get(undo, IR_IMAGE), first);
  EXPECT_EQ((HGLOBAL)record_get(undo, IR_OWNED_B), owned);
  EXPECT_EQ(record_get(record(w), IR_OWNED_B), 0u);
  EXPECT_NE((ULONG_PTR)screen_bitmap(w), record_get(undo, IR_SCREEN_BITMAP));
  EXPECT_TRUE(image_flags(w) & IRF_MODIFIED);
  EXPECT_EQ((int)record_get(record(w), IR_FORMAT), format_of_extension("BMP")); // carried over
  settings_write(SET_KEEP_UNDO, 0);
  image_install(w, test_dib(30, 20, 24));
  EXPECT_EQ(record(w, IMAGE_SLOT_UNDO), nullptr);
  settings_write(SET_KEEP_UNDO, 1);
  batch_set_running(1);
  image_install(w, test_dib(20, 20, 24));
  batch_set_running(0);
  EXPECT_EQ(record(w, IMAGE_SLOT_UNDO), nullptr);
  forget_changes(w);
}

TEST_F(ViewerTest, APaletteOfGraysMakesTheImageGray) {
  HWND w = open_file(card("card8.bmp"));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(image_flags(w) & IRF_COLOR);
  image_install(w, test_dib(40, 30, 8, true));
  EXPECT_FALSE(image_flags(w) & IRF_COLOR);
  // The depth follows an image of another depth.
  image_install(w, test_dib(40, 30, 4));
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 4u);
  forget_changes(w);
}

TEST_F(ViewerTest, ScreenBitmapsFollowTheSetting) {
  HWND w = add_image_window(IRF_COLOR, 0, 16);
  ASSERT_NE(w, nullptr);
  settings_write(SET_SCREEN_BITMAPS, 1);
  image_install(w, test_dib(20, 20, 24)); // the 16-bit level: a 24-bit DIB
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 16u);
  EXPECT_NE(screen_bitmap(w), nullptr);
  record_set(record(w), IR_DEPTH, 24);
  image_install(w, test_dib(20, 20, 24));
  EXPECT_EQ(screen_bitmap(w), nullptr);
  image_install(w, test_dib(20, 20, 8));
  EXPECT_NE(screen_bitmap(w), nullptr);
  settings_write(SET_SCREEN_BITMAPS, 2);
  image_install(w, test_dib(20, 20, 8));
  EXPECT_EQ(screen_bitmap(w), nullptr);
  settings_write(SET_SCREEN_BITMAPS, 0);
  image_install(w, test_dib(20, 20, 32));
  EXPECT_NE(screen_bitmap(w), nullptr);
  forget_changes(w);
}

TEST_F(ViewerTest, RecordHostMessagesTakeOnlyWordOffsets) {
  HWND w = open_file(card("card8.bmp"));
  ASSERT_NE(w, nullptr);
  HostParamBlock b = {};
  b.field[HPB_WINDOW] = (ULONG_PTR)w;
  b.field[HPB_OFFSET] = IR_DEPTH;
  EXPECT_EQ(host(0, &b), 8);
  for (ULONG_PTR bad : {3ul, 57ul, 60ul, 0xFFFFFFFCul}) {
    b.field[HPB_OFFSET] = bad;
    EXPECT_EQ(host(0, &b), 0) << bad;
    b.field[HPB_ARG8] = 77;
    host(1, &b); // ignored
  }
  b.field[HPB_OFFSET] = IR_RESERVED;
  b.field[HPB_ARG8] = 77;
  host(1, &b);
  EXPECT_EQ(record_get(record(w), IR_RESERVED), 77u);
  // Flags: test, set, clear.
  b.field[HPB_ARG8] = IRF_RASTER;
  EXPECT_EQ(host(2, &b), 1);
  b.field[HPB_ARG8] = 0x8;
  b.field[HPB_COLOR] = 1;
  host(3, &b);
  EXPECT_TRUE(image_flags(w) & 0x8);
  b.field[HPB_COLOR] = 0;
  host(3, &b);
  EXPECT_FALSE(image_flags(w) & 0x8);
  // Handles and copies of them.
  EXPECT_EQ((HGLOBAL)host(4, &b), image_of(w));
  EXPECT_NE(host(5, &b), 0);
  EXPECT_NE(host(6, &b), 0);
  HGLOBAL copy = (HGLOBAL)host(7, &b);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, image_of(w));
  EXPECT_EQ(GlobalSize(copy), GlobalSize(image_of(w)));
  HBITMAP bm = (HBITMAP)host(8, &b);
  HPALETTE pal = (HPALETTE)host(9, &b);
  EXPECT_NE(bm, nullptr);
  EXPECT_NE(pal, nullptr);
  DeleteObject(bm);
  DeleteObject(pal);
  EXPECT_EQ((int)host(50, &b), format_of_extension("BMP"));
  // 10 installs quietly, 11 as a change.
  b.field[HPB_DIB] = (ULONG_PTR)copy;
  host(10, &b);
  EXPECT_EQ(image_of(w), copy);
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);
  b.field[HPB_DIB] = (ULONG_PTR)test_dib(10, 10, 24);
  host(11, &b);
  EXPECT_TRUE(image_flags(w) & IRF_MODIFIED);
  EXPECT_EQ((HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE), copy);
  forget_changes(w);
  // A block from another thread is not this process's to read.
  b.field[HPB_OFFSET] = IR_DEPTH;
  EXPECT_EQ(host_from_other_thread(frame_, 0, &b), 0);
  // Blocks naming no image window.
  b.field[HPB_WINDOW] = (ULONG_PTR)frame_;
  EXPECT_EQ(host(0, &b), 0);
  EXPECT_EQ(host(4, &b), 0);
  b.field[HPB_WINDOW] = 0;
  EXPECT_EQ(host(7, &b), 0);
}

TEST_F(ViewerTest, AWindowWithoutARecordAnswersZeroUntilItGetsOne) {
  CreationRecord cr = {CREATE_BARE, 0};
  MDICREATESTRUCTA mcs = {};
  mcs.szClass = LC_IMAGE_CLASS;
  mcs.szTitle = "bare";
  mcs.hOwner = GetModuleHandleA(NULL);
  mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  mcs.lParam = (LPARAM)&cr;
  HostParamBlock b = {};
  b.field[HPB_ARG8] = (ULONG_PTR)&mcs;
  HWND w = (HWND)host(63, &b);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(record(w), nullptr);
  b.field[HPB_WINDOW] = (ULONG_PTR)w;
  b.field[HPB_OFFSET] = IR_FLAGS;
  EXPECT_EQ(host(0, &b), 0);
  EXPECT_EQ(host(2, &b), 0);
  host(55, &b);
  ASSERT_NE(record(w), nullptr);
  EXPECT_EQ(host(0, &b), 0);
  b.field[HPB_ARG8] = 0;
  EXPECT_EQ(host(63, &b), 0); // no creation record
  EXPECT_NE(host(28, &b), 0); // an empty window
}

TEST_F(ViewerTest, ALargeImageScrollsAndASmallOneShowsNoBars) {
  HWND w = add_image_window(IRF_COLOR, 0, 24);
  ASSERT_NE(w, nullptr);
  image_install(w, test_dib(3000, 2000, 24));
  forget_changes(w);
  ASSERT_TRUE(has_bar(w, WS_HSCROLL));
  ASSERT_TRUE(has_bar(w, WS_VSCROLL));
  auto x = [&] { return (int)record_get(record(w), IR_SCROLL_X); };
  auto y = [&] { return (int)record_get(record(w), IR_SCROLL_Y); };
  SendMessageA(w, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(x(), 10);
  RECT c;
  GetClientRect(w, &c);
  SendMessageA(w, WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(x(), 10 + c.right);
  SendMessageA(w, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(x(), 3000 - c.right); // the last column is reachable
  SendMessageA(w, WM_HSCROLL, SB_THUMBTRACK, 0);
  EXPECT_EQ(x(), 3000 - c.right);
  SendMessageA(w, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(y(), 10);
  SendMessageA(w, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(y(), 10 + c.bottom);
  SendMessageA(w, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(y(), 10 + c.bottom);
  save_screenshot(frame_, "viewer-scrolled-large-image");
  image_install(w, test_dib(40, 30, 24));
  forget_changes(w);
  EXPECT_FALSE(has_bar(w, WS_HSCROLL));
  EXPECT_FALSE(has_bar(w, WS_VSCROLL));
  EXPECT_EQ(x(), 0);
  EXPECT_EQ(y(), 0);
}

TEST_F(ViewerTest, TheUnsavedChangesQuestion) {
  CopyFileA(card("card24.bmp").c_str(), scratch("a.bmp").c_str(), FALSE);
  HWND w = open_file(scratch("a.bmp"));
  ASSERT_NE(w, nullptr);
  image_install(w, test_dib(60, 40, 24));
  boxes().answer = IDCANCEL;
  SendMessageA(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(w));
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], scratch("a.bmp") + " has been changed.  Save file before closing?");
  EXPECT_EQ(SendMessageA(w, LC_WM_QUERYCLOSE, 0, 0), 1); // Close All and shut-down hear no too
  boxes().answer = IDYES; // saves in its own format, then closes
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  HGLOBAL back = load_back(scratch("a.bmp"));
  ASSERT_NE(back, nullptr);
  BITMAPINFOHEADER bi;
  ZYN_DIB_Info(back, &bi);
  EXPECT_EQ(bi.biWidth, 60);
  GlobalFree(back);
  w = open_file(scratch("a.bmp"));
  image_install(w, test_dib(10, 10, 24));
  boxes().answer = IDNO;
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(ViewerTest, DroppedFilesOpenEachInTurn) {
  std::vector<std::string> names = {card("card8.bmp"), scratch("notes.xyz"), scratch("missing.bmp"),
                                    card("card4.bmp")};
  SendMessageA(frame_, WM_DROPFILES, (WPARAM)make_drop(names), 0);
  EXPECT_EQ(child_count(), 2);
  EXPECT_EQ(count_of(boxes().texts, text_of_id(IDS_DROP_UNSUPPORTED)), 1);
  EXPECT_EQ(count_of(boxes().texts, text_of_id(IDS_DROP_CANNOT_LOAD)), 1);
  EXPECT_EQ(text_of_id(IDS_DROP_UNSUPPORTED), "Drag & Drop: Unsupported file format, cannot load");
}

TEST_F(ViewerTest, ADropOfTenThousandNamesStopsAfterAFewFailures) {
  std::vector<std::string> names;
  for (int i = 0; i < 10000; i++) names.push_back(scratch("junk") + std::to_string(i) + ".qqq");
  names[3] = std::string(300, 'n') + ".bmp"; // longer than a dropped name may be
  SendMessageA(frame_, WM_DROPFILES, (WPARAM)make_drop(names), 0);
  EXPECT_EQ(child_count(), 0);
  ASSERT_EQ(boxes().texts.size(), 6u);
  EXPECT_EQ(boxes().texts[3], text_of_id(IDS_DROP_CANNOT_LOAD));
  char rest[256];
  snprintf(rest, sizeof rest, text_of_id(IDS_DROP_REST_SKIPPED).c_str(), 9995u);
  EXPECT_EQ(boxes().texts[5], rest);
}

TEST_F(ViewerTest, SaveWritesTheFullPathAndRefusesOneThatDoesNotFit) {
  CopyFileA(card("card8.bmp").c_str(), scratch("b.bmp").c_str(), FALSE);
  HWND w = open_file(scratch("b.bmp"));
  ASSERT_NE(w, nullptr);
  image_install(w, test_dib(33, 22, 8));
  ASSERT_NE(record(w, IMAGE_SLOT_UNDO), nullptr);
  SendMessageA(frame_, WM_COMMAND, IDM_SAVE, 0);
  EXPECT_TRUE(boxes().texts.empty());
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);
  EXPECT_EQ(record(w, IMAGE_SLOT_UNDO), nullptr); // dropped after the save
  HGLOBAL back = load_back(scratch("b.bmp"));
  ASSERT_NE(back, nullptr);
  BITMAPINFOHEADER bi;
  ZYN_DIB_Info(back, &bi);
  EXPECT_EQ(bi.biWidth, 33);
  EXPECT_EQ(bi.biBitCount, 8);
  GlobalFree(back);
  // A title longer than any path: refused, never cut.
  std::string long_title = scratch_ + "\\" + std::string(300, 'q') + ".bmp";
  SetWindowTextA(w, long_title.c_str());
  EXPECT_FALSE(image_save(w));
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], text_of_id(IDS_PATH_TOO_LONG));
}

namespace {

HWND g_menu_window;
UINT_PTR g_menu_timer;

BOOL CALLBACK find_popup(HWND w, LPARAM) {
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (!strcmp(cls, "#32768") && IsWindowVisible(w)) {
    g_menu_window = w;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the menu's own loop: look at the menu, then close it.
void CALLBACK look_and_close(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  EnumWindows(find_popup, 0);
  if (g_menu_window) save_screenshot(g_menu_window, "context-menu-of-an-image");
  EndMenu();
}

} // namespace

TEST_F(ViewerTest, TheContextMenuOfAnImageIsColorsAndOfAnEmptyWindowEdit) {
  HWND w = open_file(card("card8.bmp"));
  ASSERT_NE(w, nullptr);
  g_menu_window = NULL;
  g_menu_timer = SetTimer(NULL, 0, 200, look_and_close);
  SendMessageA(w, WM_RBUTTONDOWN, 0, MAKELPARAM(40, 40));
  ASSERT_NE(g_menu_window, nullptr);
  // Enabled as from the bar: an 8-bit image has the 256 Colors submenu checked.
  EXPECT_TRUE(item_checked(st_.popup[POPUP_COLORS], COLORS_SUBMENU_FIRST + 2, MF_BYPOSITION));
  EXPECT_TRUE(item_grayed(st_.popup[POPUP_COLORS], IDM_C256_FLAT));
  // Media windows have none.
  record_change_flags(record(w), IRF_WAVE, 1);
  g_menu_window = NULL;
  g_menu_timer = SetTimer(NULL, 0, 200, look_and_close);
  SendMessageA(w, WM_RBUTTONDOWN, 0, MAKELPARAM(40, 40));
  pump_for(300);
  KillTimer(NULL, g_menu_timer);
  EXPECT_EQ(g_menu_window, nullptr);
}

TEST_F(ViewerTest, UndoSwapsTheRecordsSoASecondUndoRedoes) {
  HWND w = open_file(card("card24.bmp"));
  ASSERT_NE(w, nullptr);
  HGLOBAL first = image_of(w);
  SendMessageA(frame_, WM_COMMAND, IDM_UNDO, 0); // nothing to undo yet
  EXPECT_EQ(image_of(w), first);
  HGLOBAL changed = test_dib(50, 40, 8);
  image_install(w, changed);
  record_set(record(w), IR_FORMAT, (ULONG_PTR)format_of_extension("GIF"));
  SetWindowTextA(w, (card("card24.") + "GIF").c_str());
  SendMessageA(w, WM_HSCROLL, SB_LINEDOWN, 0);
  SendMessageA(frame_, WM_COMMAND, IDM_UNDO, 0);
  EXPECT_EQ(image_of(w), first);
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 24u);
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED); // as it was before the change
  EXPECT_EQ(title_of(w), card("card24.bmp").substr(0, card("card24.bmp").size() - 3) + "BMP");
  SendMessageA(frame_, WM_COMMAND, IDM_UNDO, 0);
  EXPECT_EQ(image_of(w), changed);
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 8u);
  EXPECT_TRUE(image_flags(w) & IRF_MODIFIED);
  EXPECT_NE(screen_bitmap(w), nullptr);
  forget_changes(w);
}
