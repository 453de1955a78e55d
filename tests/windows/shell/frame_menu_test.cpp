// Menu enabling through WM_INITMENUPOPUP, with and without an active image
// window (the window's image record is filled by the test).
#include "frame_fixture.h"
#include "frame_menu_win.h"
#include "resource.h"

namespace {

void empty_clipboard(HWND owner) {
  if (OpenClipboard(owner)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

const UINT kDepths[] = {1, 4, 8, 16, 24, 32};

} // namespace

TEST_F(FrameTest, FileWithoutImageWindowGraysCloseSaveSaveAsPrint) {
  open_popup(POPUP_FILE);
  HMENU file = st_.popup[POPUP_FILE];
  for (UINT id : {IDM_CLOSE, IDM_SAVE, IDM_SAVEAS, IDM_PRINT}) EXPECT_TRUE(item_grayed(file, id)) << id;
  for (UINT id : {IDM_NEW, IDM_OPEN, IDM_BATCH, IDM_PRINTSETUP, IDM_SETTINGS, IDM_EXIT})
    EXPECT_FALSE(item_grayed(file, id)) << id;
}

TEST_F(FrameTest, EditWithoutImageWindowGraysEverything) {
  open_popup(POPUP_EDIT);
  for (UINT id = IDM_UNDO; id <= IDM_PASTEPAL; ++id) EXPECT_TRUE(item_grayed(st_.popup[POPUP_EDIT], id)) << id;
}

TEST_F(FrameTest, ColorsWithoutImageGraysTheNineTopItems) {
  open_popup(POPUP_COLORS);
  HMENU colors = st_.popup[POPUP_COLORS];
  for (UINT pos = 0; pos < 9; ++pos)
    EXPECT_TRUE(GetMenuState(colors, pos, MF_BYPOSITION) & MF_GRAYED) << pos;
}

TEST_F(FrameTest, WindowItemsAlwaysEnabled) {
  open_popup(POPUP_WINDOW);
  for (UINT id : {IDM_TILE, IDM_CASCADE, IDM_ARRANGE, IDM_CLOSEALL})
    EXPECT_FALSE(item_grayed(st_.popup[POPUP_WINDOW], id)) << id;
}

TEST_F(FrameTest, CaptureAndHelpAreLeftAsTheyAre) {
  open_popup(POPUP_CAPTURE);
  open_popup(POPUP_HELP);
  for (UINT id = 768; id <= 773; ++id) EXPECT_FALSE(item_grayed(st_.popup[POPUP_CAPTURE], id));
  for (UINT id = 2560; id <= 2563; ++id) EXPECT_FALSE(item_grayed(st_.popup[POPUP_HELP], id));
}

TEST_F(FrameTest, FileWithImageEnablesSaveAndPrint) {
  ASSERT_NE(add_image_window(IRF_COLOR, 0x1000, 24), nullptr);
  open_popup(POPUP_FILE);
  for (UINT id : {IDM_CLOSE, IDM_SAVE, IDM_SAVEAS, IDM_PRINT})
    EXPECT_FALSE(item_grayed(st_.popup[POPUP_FILE], id)) << id;
}

TEST_F(FrameTest, FileWithEmptyWindowEnablesOnlyClose) {
  ASSERT_NE(add_image_window(IRF_NEW, 0, 0), nullptr);
  open_popup(POPUP_FILE);
  HMENU file = st_.popup[POPUP_FILE];
  EXPECT_FALSE(item_grayed(file, IDM_CLOSE));
  for (UINT id : {IDM_SAVE, IDM_SAVEAS, IDM_PRINT}) EXPECT_TRUE(item_grayed(file, id)) << id;
}

TEST_F(FrameTest, MediaWindowKeepsCloseAndSaveAsOnly) {
  ASSERT_NE(add_image_window(IRF_MOVIE, 0x1000, 24, 0x2000), nullptr);
  open_popup(POPUP_FILE);
  HMENU file = st_.popup[POPUP_FILE];
  EXPECT_FALSE(item_grayed(file, IDM_CLOSE));
  EXPECT_FALSE(item_grayed(file, IDM_SAVEAS));
  EXPECT_TRUE(item_grayed(file, IDM_SAVE));
  EXPECT_TRUE(item_grayed(file, IDM_PRINT));
  open_popup(POPUP_EDIT);
  for (UINT id = IDM_UNDO; id <= IDM_PASTEPAL; ++id) EXPECT_TRUE(item_grayed(st_.popup[POPUP_EDIT], id)) << id;
  open_popup(POPUP_COLORS);
  for (UINT pos = 0; pos < 9; ++pos)
    EXPECT_TRUE(GetMenuState(st_.popup[POPUP_COLORS], pos, MF_BYPOSITION) & MF_GRAYED) << pos;
}

TEST_F(FrameTest, EditFollowsImageUndoAndClipboard) {
  empty_clipboard(frame_);
  ASSERT_NE(add_image_window(IRF_COLOR, 0x1000, 8, 0x2000), nullptr);
  open_popup(POPUP_EDIT);
  HMENU edit = st_.popup[POPUP_EDIT];
  for (UINT id : {IDM_UNDO, IDM_CUT, IDM_COPY, IDM_DELETE}) EXPECT_FALSE(item_grayed(edit, id)) << id;
  EXPECT_TRUE(item_grayed(edit, IDM_PASTE));    // nothing on the clipboard
  EXPECT_TRUE(item_grayed(edit, IDM_PASTEPAL)); // no palette on it
}

TEST_F(FrameTest, EditOnEmptyWindowGraysCutCopyDeleteAndUndo) {
  ASSERT_NE(add_image_window(IRF_NEW, 0, 0), nullptr);
  open_popup(POPUP_EDIT);
  HMENU edit = st_.popup[POPUP_EDIT];
  for (UINT id : {IDM_UNDO, IDM_CUT, IDM_COPY, IDM_DELETE, IDM_PASTEPAL})
    EXPECT_TRUE(item_grayed(edit, id)) << id;
}

TEST_F(FrameTest, EditPasteFollowsABitmapOnTheClipboard) {
  HWND w = add_image_window(IRF_COLOR, 0x1000, 8);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(OpenClipboard(frame_));
  EmptyClipboard();
  HDC screen = GetDC(NULL);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(NULL, screen);
  HANDLE placed = SetClipboardData(CF_BITMAP, bmp); // the clipboard owns it now
  CloseClipboard();
  if (!placed) DeleteObject(bmp);
  ASSERT_NE(placed, nullptr);
  open_popup(POPUP_EDIT);
  EXPECT_FALSE(item_grayed(st_.popup[POPUP_EDIT], IDM_PASTE));
  empty_clipboard(frame_);
}

TEST_F(FrameTest, ColorsChecksColorOrGrayAndTheDepthSubmenu) {
  for (UINT depth : kDepths) {
    for (BOOL color : {TRUE, FALSE}) {
      SCOPED_TRACE(depth);
      remove_image_windows();
      ASSERT_NE(add_image_window(color ? IRF_COLOR : 0, 0x1000, depth), nullptr);
      open_popup(POPUP_COLORS);
      HMENU colors = st_.popup[POPUP_COLORS];
      for (UINT pos = 0; pos < 9; ++pos)
        EXPECT_FALSE(GetMenuState(colors, pos, MF_BYPOSITION) & MF_GRAYED) << pos;
      EXPECT_EQ(item_checked(colors, IDM_COLOR, MF_BYCOMMAND), color);
      EXPECT_EQ(item_checked(colors, IDM_GRAY, MF_BYCOMMAND), !color);
      for (int s = 0; s < COLORS_SUBMENU_COUNT; ++s)
        EXPECT_EQ(item_checked(colors, COLORS_SUBMENU_FIRST + s, MF_BYPOSITION), kDepths[s] == depth) << s;
    }
  }
}

TEST_F(FrameTest, ColorsGraysConversionsThatDoNotFitTheDepth) {
  struct Rule {
    UINT id;
    int below_or_at; // grayed when depth <= this
    int at_or_above; // grayed when depth >= this
  };
  const Rule rules[] = {
      {1809, 1, 0},  {1810, 1, 0},  {1824, 0, 4},  {1825, 4, 0},  {1826, 4, 0},
      {1827, 4, 0},  {1828, 4, 0},  {1840, 0, 8},  {1841, 8, 0},  {1842, 8, 0},
      {1843, 8, 0},  {1844, 8, 0},  {1856, 0, 16}, {1857, 16, 0}, {1858, 16, 0},
      {1872, 24, 0}, {1873, 0, 24}, {1878, 0, 32}, {1879, 0, 32},
  };
  for (UINT depth : kDepths) {
    remove_image_windows();
    ASSERT_NE(add_image_window(IRF_COLOR, 0x1000, depth), nullptr);
    open_popup(POPUP_COLORS);
    for (const Rule &r : rules) {
      bool gray = (r.below_or_at && (int)depth <= r.below_or_at) || (r.at_or_above && (int)depth >= r.at_or_above);
      EXPECT_EQ(item_grayed(st_.popup[POPUP_COLORS], r.id), gray) << "depth " << depth << " id " << r.id;
    }
  }
}

TEST_F(FrameTest, OneBitImageGraysMonochromeAndChecksItsSubmenu) {
  ASSERT_NE(add_image_window(0, 0x1000, 1), nullptr);
  open_popup(POPUP_COLORS);
  HMENU colors = st_.popup[POPUP_COLORS];
  EXPECT_TRUE(item_grayed(colors, 1809));
  EXPECT_TRUE(item_grayed(colors, 1810));
  EXPECT_TRUE(item_checked(colors, COLORS_SUBMENU_FIRST, MF_BYPOSITION));
}

TEST_F(FrameTest, SystemMenuPopupIsNotTouched) {
  HMENU sys = GetSystemMenu(frame_, FALSE);
  ASSERT_NE(sys, nullptr);
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)sys, MAKELPARAM(0, TRUE));
  EXPECT_TRUE(IsWindow(frame_));
}
