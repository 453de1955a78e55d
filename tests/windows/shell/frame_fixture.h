// A frame window created in the test's own process, with helpers to read
// its menus back.
#ifndef LC_TEST_FRAME_FIXTURE_H
#define LC_TEST_FRAME_FIXTURE_H

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

#include "core/host_messages.h"
#include "shell_win.h"

class FrameTest : public ::testing::Test {
protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Sends WM_INITMENUPOPUP for a popup of the menu bar, as a click would.
  void open_popup(FramePopup p);
  // An image window whose record has the given flags and depth and, when
  // image (or undo_image) is non-zero, a small DIB of that depth in the
  // record (or the undo record); it becomes the active image window.
  HWND add_image_window(DWORD flags, DWORD image, DWORD depth, DWORD undo_image = 0);
  void remove_image_windows();
  // Clears the modified flag, so that closing asks nothing.
  static void forget_changes(HWND image_window);
  LRESULT host(UINT n, HostParamBlock *block = nullptr);

  FrameState st_{};
  HWND frame_ = nullptr;
};

// Every message box of the program goes to this recorder instead of the
// screen; questions get `answer`.
struct Boxes {
  std::vector<std::string> texts;
  int answer = IDNO;
};
Boxes &boxes();
// A small DIB (4 x 3 pixels) at a depth; gray palettes for 1, 4 and 8 bits
// when gray is set.
HGLOBAL small_dib(int bits, bool gray = false);
HGLOBAL test_dib(int w, int h, int bits, bool gray = false);

std::string menu_text(HMENU m, UINT pos);
BOOL item_grayed(HMENU m, UINT id);
BOOL item_checked(HMENU m, UINT id_or_pos, UINT by);
void pump_messages();

#endif
