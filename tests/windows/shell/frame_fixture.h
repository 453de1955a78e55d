// A frame window created in the test's own process, with helpers to read
// its menus back.
#ifndef LC_TEST_FRAME_FIXTURE_H
#define LC_TEST_FRAME_FIXTURE_H

#include <gtest/gtest.h>
#include <string>
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
  // An MDI child of class GenericWClass whose image record has the given
  // flags, image handle and depth; it becomes the active image window.
  HWND add_image_window(DWORD flags, DWORD image, DWORD depth, DWORD undo_image = 0);
  void remove_image_windows();
  // The stand-in image window does not own its records yet: the test frees them.
  static void free_records(HWND image_window);
  LRESULT host(UINT n, HostParamBlock *block = nullptr);

  FrameState st_{};
  HWND frame_ = nullptr;
};

std::string menu_text(HMENU m, UINT pos);
BOOL item_grayed(HMENU m, UINT id);
BOOL item_checked(HMENU m, UINT id_or_pos, UINT by);
void pump_messages();

#endif
