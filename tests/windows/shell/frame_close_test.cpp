// Asking image windows before closing, the palette relay, and the
// end-of-run store.
#include "frame_fixture.h"
#include "resource.h"

namespace {

WNDPROC g_old_proc;
int g_palette_changes;
HWND g_frame;

// An image window that refuses to close and re-sends palette changes to the
// frame, as a window realising its own palette would cause.
LRESULT CALLBACK stubborn_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == LC_WM_QUERYCLOSE) return 1;
  if (msg == WM_PALETTECHANGED) {
    ++g_palette_changes;
    SendMessageA(g_frame, WM_PALETTECHANGED, (WPARAM)w, 0);
    return 0;
  }
  return CallWindowProcA(g_old_proc, w, msg, wp, lp);
}

void make_stubborn(HWND w) {
  g_old_proc = (WNDPROC)SetWindowLongPtrA(w, GWLP_WNDPROC, (LONG_PTR)stubborn_proc);
}

void set_shift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

} // namespace

TEST_F(FrameTest, EveryWindowAgreesWhenNoneRefuses) {
  ASSERT_NE(add_image_window(IRF_MODIFIED, 0x1000, 8), nullptr);
  EXPECT_EQ(SendMessageA(frame_, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(host(54), 1);
}

TEST_F(FrameTest, ARefusingWindowStopsShutdownAndCloseAll) {
  HWND w = add_image_window(IRF_MODIFIED, 0x1000, 8);
  ASSERT_NE(w, nullptr);
  make_stubborn(w);
  EXPECT_EQ(SendMessageA(frame_, WM_QUERYENDSESSION, 0, 0), 0);
  EXPECT_EQ(host(54), 0);
  SendMessageA(frame_, WM_COMMAND, IDM_CLOSEALL, 0);
  EXPECT_TRUE(IsWindow(w));
}

TEST_F(FrameTest, ShiftHeldMeansYesWithoutAsking) {
  HWND w = add_image_window(IRF_MODIFIED, 0x1000, 8);
  ASSERT_NE(w, nullptr);
  make_stubborn(w);
  set_shift(true);
  LRESULT agree = host(54);
  forget_changes(w);
  SendMessageA(frame_, WM_COMMAND, IDM_CLOSEALL, 0);
  set_shift(false);
  EXPECT_EQ(agree, 1);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(FrameTest, NestedPaletteChangeIsNotRelayedAgain) {
  HWND w = add_image_window(IRF_COLOR, 0x1000, 8);
  ASSERT_NE(w, nullptr);
  make_stubborn(w);
  g_frame = frame_;
  g_palette_changes = 0;
  SendMessageA(frame_, WM_PALETTECHANGED, (WPARAM)GetDesktopWindow(), 0);
  EXPECT_EQ(g_palette_changes, 1);
  EXPECT_FALSE(st_.relaying_palette);
}

TEST_F(FrameTest, EndOfRunFreesTheCatalogueOnce) {
  HostParamBlock block = {};
  block.field[HPB_INDEX] = 1;
  ASSERT_NE(host(40, &block), 0);
  shell_end_of_run();
  EXPECT_EQ(host(40, &block), 0); // index past an empty catalogue
  shell_end_of_run();             // a second run (shut-down, then loop end) is harmless
  ASSERT_TRUE(shell_catalogue_register());
  EXPECT_NE(host(40, &block), 0);
}

TEST_F(FrameTest, EndSessionRunsTheEndOfRunStore) {
  SendMessageA(frame_, WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(g_shell.catalogue_ready);
  SendMessageA(frame_, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(g_shell.catalogue_ready);
  ASSERT_TRUE(shell_catalogue_register());
}
