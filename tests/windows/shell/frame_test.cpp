// The frame window in-process: classes, window, menu bar, accelerators and
// the commands that work without image windows.
#include <vector>

#include "frame_fixture.h"
#include "resource.h"

namespace {

struct Item {
  UINT id;          // 0 for a separator, (UINT)-1 for a submenu
  const char *text; // exact text, accelerator marks and tab included
};
const UINT SEP = 0, SUB = (UINT)-1;

struct Popup {
  const char *title;
  std::vector<Item> items;
};

const std::vector<Popup> kMenuBar = {
    {"&File",
     {{IDM_NEW, "&New\tCtrl+N"},
      {IDM_OPEN, "&Open...\tCtrl+O"},
      {IDM_CLOSE, "&Close"},
      {IDM_SAVE, "&Save"},
      {IDM_SAVEAS, "Save &As..."},
      {SEP, ""},
      {IDM_BATCH, "Batch...\tCtrl+B"},
      {SEP, ""},
      {IDM_PRINT, "&Print"},
      {IDM_PRINTSETUP, "Printer Se&tup..."},
      {SEP, ""},
      {IDM_SETTINGS, "Settings...\tCtrl+S"},
      {SEP, ""},
      {IDM_EXIT, "&Exit"}}},
    {"&Edit",
     {{IDM_UNDO, "&Undo\tCtrl+Z"},
      {SEP, ""},
      {IDM_CUT, "C&ut\tCtrl+X"},
      {IDM_COPY, "&Copy\tCtrl+C"},
      {IDM_PASTE, "&Paste\tCtrl+V"},
      {IDM_PASTEPAL, "&Paste Palette\tCtrl+P"},
      {IDM_DELETE, "&Delete\tCtrl+Del"}}},
    {"&Capture",
     {{768, "Active Window"},
      {769, "Active Application"},
      {770, "Entire Screen"},
      {771, "User Defined Rectangle"},
      {772, "Window under Mouse"},
      {SEP, ""},
      {773, "Set Options..."}}},
    {"C&olors",
     {{1280, "Color"},
      {1281, "Gray"},
      {SEP, ""},
      {SUB, "Monochrome"},
      {SUB, "16 Colors"},
      {SUB, "256 Colors"},
      {SUB, "16-Bit Color"},
      {SUB, "24-Bit Color"},
      {SUB, "32-Bit Color"}}},
    {"&Window",
     {{2305, "&Tile"}, {2306, "&Cascade"}, {2308, "Arrange &Icons"}, {2307, "Close &All"}}},
    {"&Help",
     {{2560, "&Index"},
      {2561, "Using &Help"},
      {SEP, ""},
      {2562, "&System Info"},
      {SEP, ""},
      {2563, "&About Lumacast..."}}},
};

// Commands and texts of the six depth submenus, separators left out.
const std::vector<std::vector<Item>> kColorSubmenus = {
    {{1809, "Flat Cut"}, {1810, "Flat Cut with Dither"}},
    {{1825, "Flat Cut"},
     {1826, "Optimized Cut"},
     {1827, "Flat Cut with Dither"},
     {1828, "Optimized Cut with Dither"},
     {1824, "Increase colors to 16"}},
    {{1841, "Flat Cut"},
     {1842, "Optimized Cut"},
     {1843, "Flat Cut with Dither"},
     {1844, "Optimized Cut with Dither"},
     {1840, "Increase colors to 256"}},
    {{1857, "Flat Cut"}, {1858, "Flat Cut with Dither"}, {1856, "Increase color to 16-bit"}},
    {{1872, "Decrease color to 24-bit"}, {1873, "Increase color to 24-bit"}},
    {{1878, "Increase color to 32-bit (Opaque)"}, {1879, "Increase color to 32-bit (Transparent)"}},
};

std::string class_of(HWND w) {
  char buf[64] = "";
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

} // namespace

TEST_F(FrameTest, FrameClassMatchesTheTable) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(NULL), LC_FRAME_CLASS, &wc));
  EXPECT_EQ(wc.style, 0u);
  EXPECT_EQ(wc.cbWndExtra, 0);
  EXPECT_NE(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hbrBackground, (HBRUSH)(COLOR_APPWORKSPACE + 1));
  EXPECT_EQ(wc.hCursor, LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
  ASSERT_FALSE(IS_INTRESOURCE(wc.lpszMenuName));
  EXPECT_STREQ(wc.lpszMenuName, "FrameMenu");
}

TEST_F(FrameTest, ImageWindowClassHasTwoSlotsAndItsIcon) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(NULL), LC_IMAGE_CLASS, &wc));
  EXPECT_EQ(wc.style, (UINT)CS_DBLCLKS);
  // Two pointer slots: 8 bytes in the 32-bit build, 16 in the 64-bit one.
  EXPECT_EQ(wc.cbWndExtra, 2 * (int)sizeof(LONG_PTR));
  EXPECT_NE(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hbrBackground, (HBRUSH)(COLOR_APPWORKSPACE + 1));
  EXPECT_EQ(wc.lpszMenuName, nullptr);
}

TEST_F(FrameTest, IconResources400And401Exist) {
  HINSTANCE inst = GetModuleHandleA(NULL);
  EXPECT_NE(FindResourceA(inst, MAKEINTRESOURCEA(400), (LPCSTR)RT_GROUP_ICON), nullptr);
  EXPECT_NE(FindResourceA(inst, MAKEINTRESOURCEA(401), (LPCSTR)RT_GROUP_ICON), nullptr);
  HICON big = (HICON)LoadImageA(inst, MAKEINTRESOURCEA(400), IMAGE_ICON, 32, 32, 0);
  EXPECT_NE(big, nullptr);
  if (big) DestroyIcon(big);
}

TEST_F(FrameTest, FrameIsTitledLumacastAndHoldsTheMdiClient) {
  EXPECT_EQ(class_of(frame_), "FrameClass");
  char title[64] = "";
  GetWindowTextA(frame_, title, sizeof title);
  EXPECT_STREQ(title, "Lumacast");
  LONG style = GetWindowLongA(frame_, GWL_STYLE);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW);
  ASSERT_NE(st_.client, nullptr);
  EXPECT_EQ(GetDlgItem(frame_, ID_MDICLIENT), st_.client);
  EXPECT_EQ(_stricmp(class_of(st_.client).c_str(), "MDIClient"), 0);
  EXPECT_TRUE(IsWindowVisible(st_.client));
  EXPECT_TRUE(GetWindowLongA(st_.client, GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(frame_state(frame_), &st_);
}

TEST_F(FrameTest, MdiClientFillsTheClientArea) {
  RECT frame_rc, client_rc;
  GetClientRect(frame_, &frame_rc);
  GetClientRect(st_.client, &client_rc);
  EXPECT_EQ(client_rc.right, frame_rc.right);
  EXPECT_EQ(client_rc.bottom, frame_rc.bottom);
}

TEST_F(FrameTest, MenuBarHasEveryPopupItemTextAndId) {
  HMENU bar = GetMenu(frame_);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), (int)kMenuBar.size());
  for (size_t p = 0; p < kMenuBar.size(); ++p) {
    SCOPED_TRACE(kMenuBar[p].title);
    EXPECT_EQ(menu_text(bar, (UINT)p), kMenuBar[p].title);
    HMENU popup = GetSubMenu(bar, (int)p);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup, st_.popup[p]);
    const std::vector<Item> &items = kMenuBar[p].items;
    ASSERT_EQ(GetMenuItemCount(popup), (int)items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      SCOPED_TRACE(i);
      UINT state = GetMenuState(popup, (UINT)i, MF_BYPOSITION);
      if (items[i].id == SEP) {
        EXPECT_TRUE(state & MF_SEPARATOR);
        continue;
      }
      EXPECT_EQ(menu_text(popup, (UINT)i), items[i].text);
      EXPECT_EQ(GetMenuItemID(popup, (int)i), items[i].id);
    }
  }
}

TEST_F(FrameTest, ColorsSubmenusHaveTheirCommandsInOrder) {
  HMENU colors = st_.popup[POPUP_COLORS];
  for (int s = 0; s < COLORS_SUBMENU_COUNT; ++s) {
    SCOPED_TRACE(s);
    HMENU sub = GetSubMenu(colors, COLORS_SUBMENU_FIRST + s);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub, st_.colors_sub[s]);
    std::vector<Item> seen;
    for (int i = 0; i < GetMenuItemCount(sub); ++i) {
      if (GetMenuState(sub, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
      seen.push_back({GetMenuItemID(sub, i), nullptr});
      EXPECT_EQ(menu_text(sub, i), kColorSubmenus[s][seen.size() - 1].text);
    }
    ASSERT_EQ(seen.size(), kColorSubmenus[s].size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].id, kColorSubmenus[s][i].id);
  }
}

TEST_F(FrameTest, AcceleratorTable500) {
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(500));
  ASSERT_NE(table, nullptr);
  ACCEL acc[32];
  int n = CopyAcceleratorTableA(table, acc, 32);
  struct Want {
    BYTE mods;
    WORD key;
    WORD cmd;
  };
  const Want want[] = {
      {FCONTROL, 'N', 256},       {FCONTROL, 'O', 257},       {FCONTROL, 'B', 260},
      {FCONTROL, 'S', 263},       {FCONTROL, 'U', 512},       {FCONTROL, 'Z', 512},
      {FALT, VK_BACK, 512},       {FCONTROL, 'X', 513},       {FCONTROL, 'C', 514},
      {FCONTROL, VK_INSERT, 514}, {FCONTROL, 'V', 515},       {FSHIFT, VK_INSERT, 515},
      {FCONTROL, 'P', 517},       {FCONTROL, VK_DELETE, 516}, {0, VK_F1, 2561},
  };
  EXPECT_EQ(n, (int)(sizeof want / sizeof want[0]));
  for (const Want &w : want) {
    bool found = false;
    for (int i = 0; i < n; ++i) {
      BYTE mods = acc[i].fVirt & (FCONTROL | FALT | FSHIFT);
      if ((acc[i].fVirt & FVIRTKEY) && mods == w.mods && acc[i].key == w.key && acc[i].cmd == w.cmd)
        found = true;
    }
    EXPECT_TRUE(found) << "key " << w.key << " command " << w.cmd;
  }
}

TEST_F(FrameTest, CommandsWithoutAWindowLeaveTheFrameAlone) {
  const UINT ids[] = {260, 261, 262, 263, 265, 512, 513, 514, 515, 516, 517, 768, 773, 1280,
                      1281, 1809, 1828, 1844, 1858, 1873, 1879, 2305, 2306, 2307, 2308, 2562};
  for (UINT id : ids) {
    SCOPED_TRACE(id);
    EXPECT_EQ(SendMessageA(frame_, WM_COMMAND, id, 0), 0);
    EXPECT_TRUE(IsWindow(frame_));
  }
}

TEST_F(FrameTest, ExitCommandDestroysTheFrameAndPostsQuit) {
  SendMessageA(frame_, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_FALSE(IsWindow(frame_));
  EXPECT_EQ(g_shell.frame, nullptr);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(FrameTest, CloseMessageDestroysTheFrameEvenWithImageWindows) {
  HWND w = add_image_window(IRF_MODIFIED, 0x1234, 8);
  ASSERT_NE(w, nullptr);
  forget_changes(w);
  SendMessageA(frame_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(frame_));
}

TEST_F(FrameTest, WindowCommandsArrangeAndCloseAllImageWindows) {
  ASSERT_NE(add_image_window(0, 0, 0), nullptr);
  ASSERT_NE(add_image_window(0, 0, 0), nullptr);
  SendMessageA(frame_, WM_COMMAND, IDM_TILE, 0);
  SendMessageA(frame_, WM_COMMAND, IDM_CASCADE, 0);
  SendMessageA(frame_, WM_COMMAND, IDM_ARRANGE, 0);
  // The stand-in image window agrees to close: Close All empties the client.
  for (HWND c = GetWindow(st_.client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) forget_changes(c);
  SendMessageA(frame_, WM_COMMAND, IDM_CLOSEALL, 0);
  EXPECT_EQ(GetWindow(st_.client, GW_CHILD), nullptr);
}

TEST_F(FrameTest, MdiWindowListFollowsTheWindowPopup) {
  ASSERT_NE(add_image_window(0, 0, 0), nullptr);
  HMENU window = st_.popup[POPUP_WINDOW];
  // The MDI client appends a separator and one entry per child, from 2320.
  int n = GetMenuItemCount(window);
  ASSERT_GE(n, 6);
  EXPECT_EQ(GetMenuItemID(window, n - 1), (UINT)IDM_FIRSTCHILD);
}

TEST_F(FrameTest, AcceleratorsReachTheFrameThroughTranslateAccelerator) {
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_ACCEL));
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE saved[256];
  memcpy(saved, keys, sizeof keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG msg = {};
  msg.hwnd = frame_;
  msg.message = WM_KEYDOWN;
  msg.wParam = 'X';
  int translated = TranslateAcceleratorA(frame_, table, &msg);
  SetKeyboardState(saved);
  EXPECT_TRUE(translated);
  EXPECT_TRUE(IsWindow(frame_));
}
