// The "Image" menu of image.dll loaded by the host library: its ten
// entries and their state, the help lines, the three commands without a
// dialog on every depth with undo, the window's depth after a change, and
// the entry points' edge cases.
#include <windows.h>

#include "image_fixture.h"
#include "screenshot.h"
#include "zynlib.h"

namespace {

std::vector<std::string> g_help;
WNDPROC g_frame_proc;

LRESULT CALLBACK record_help(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == HM_BASE + 29 && lp) g_help.push_back((const char *)((HostParamBlock *)lp)->field[HPB_PATH]);
  return CallWindowProcA(g_frame_proc, w, msg, wp, lp);
}

HWND g_shot_frame;

void CALLBACK shoot_and_close_menu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  save_screenshot(g_shot_frame, "image-menu");
  EndMenu();
}

bool all_grayed(HMENU popup, bool grayed) {
  for (int i = 0; i < GetMenuItemCount(popup); i++) {
    UINT id = GetMenuItemID(popup, i);
    if (id && id != (UINT)-1 && (item_grayed(popup, id) != 0) != grayed) return false;
  }
  return true;
}

typedef int(WINAPI *VersionProc)(DWORD, DWORD, DWORD);
typedef int(WINAPI *InitProc)(ULONG_PTR, HWND);

}  // namespace

TEST_F(ImageTest, TheImageMenuHoldsTheTenEntriesAndWantsAnImage) {
  bind_host();
  int position = -1;
  HMENU popup = image_popup(&position);
  HMENU bar = GetMenu(frame_);
  EXPECT_EQ(menu_text(bar, (UINT)position + 1), "&Window") << "in front of Window and Help";
  const char *texts[] = {"Invert Image", "Flip Image", "Mirror Image", "", "Crop...", "Scale...", "Rotate...",
                         "Frame/Caption...", "Tile...", "Mask..."};
  ASSERT_EQ(GetMenuItemCount(popup), 10);
  for (int i = 0; i < 10; i++) EXPECT_EQ(menu_text(popup, (UINT)i), texts[i]) << i;
  EXPECT_TRUE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_SEPARATOR);
  for (int i = 1; i < 10; i++) {
    if (i == 3 || i == 4) continue;
    EXPECT_GT(GetMenuItemID(popup, i), GetMenuItemID(popup, i - 1)) << "increasing ids";
  }

  open_image_popup();
  EXPECT_TRUE(all_grayed(popup, true)) << "no window";
  add_image_window(IRF_COLOR, 0, 24);
  SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)GetWindow(st_.client, GW_CHILD), 0);
  open_image_popup();
  EXPECT_TRUE(all_grayed(popup, true)) << "a window without an image";
  for (DWORD media : {IRF_MOVIE, IRF_WAVE, IRF_MIDI}) {
    HWND m = add_image_window(media, 1, 24);
    SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)m, 0);
    open_image_popup();
    EXPECT_TRUE(all_grayed(popup, true)) << "media window " << media;
  }
  remove_image_windows();
  HWND behind = open_picture(picture(64, 48, 24), "Behind");
  HWND w = open_picture(picture(160, 120, 24));
  open_image_popup();
  EXPECT_TRUE(all_grayed(popup, false));
  forget_changes(behind);
  SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)behind, 0);
  open_image_popup();
  EXPECT_TRUE(all_grayed(popup, false)) << "a window behind closing leaves the active one";

  g_help.clear();
  g_frame_proc = (WNDPROC)SetWindowLongPtrA(frame_, GWLP_WNDPROC, (LONG_PTR)record_help);
  SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(id_of(E_CROP), MF_HILITE), (LPARAM)popup);
  SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(id_of(E_MASK), MF_HILITE), (LPARAM)popup);
  SetWindowLongPtrA(frame_, GWLP_WNDPROC, (LONG_PTR)g_frame_proc);
  EXPECT_EQ(g_help, (std::vector<std::string>{"Crop image in active window to new dimensions",
                                              "Mask image in active window"}));

  g_shot_frame = frame_;
  SetForegroundWindow(frame_);
  SetTimer(NULL, 0, 400, shoot_and_close_menu);
  PostMessageA(frame_, WM_SYSCOMMAND, SC_KEYMENU, 'i');
  pump_for(1200);
  forget_changes(w);
  EXPECT_TRUE(boxes().texts.empty());
}

TEST_F(ImageTest, InvertFlipAndMirrorChangeThePixelsAndUndoBringsThemBack) {
  bind_host();
  typedef int (*InPlace)(HGLOBAL);
  const struct {
    ImageEntry entry;
    InPlace op;
  } commands[] = {{E_FLIP, img_flip_in_place}, {E_MIRROR, img_mirror_in_place}};
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    HWND w = open_picture(picture(37, 21, bits));
    for (const auto &c : commands) {
      HGLOBAL before = image_of(w);
      HGLOBAL expected = ZYN_DIB_Copy(before);
      ASSERT_EQ(c.op(expected), IMG_OK);
      run(c.entry);
      ASSERT_NE(image_of(w), before);
      EXPECT_TRUE(same_pixels(image_of(w), expected)) << "entry " << c.entry;
      EXPECT_EQ(undo_image_of(w), before);
      undo();
      EXPECT_EQ(image_of(w), before) << "undo";
      GlobalFree(expected);
    }
    HGLOBAL before = image_of(w);
    HGLOBAL expected = ZYN_DIB_Copy(before);
    ASSERT_EQ(img_invert_in_place(expected, NULL), IMG_OK);
    run(E_INVERT);
    EXPECT_TRUE(same_pixels(image_of(w), expected));
    undo();
    EXPECT_EQ(image_of(w), before);
    GlobalFree(expected);
    forget_changes(w);
    SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)w, 0);
  }
  EXPECT_TRUE(boxes().texts.empty());
}

// The window's color flag is the value 0x4: an 8-bit image under a color
// table scales in color at high quality, one under a gray table in gray.
TEST_F(ImageTest, HighQualityScaleFollowsTheWindowsColorFlag) {
  bind_host();
  for (bool gray : {false, true}) {
    HWND w = open_picture(picture(40, 30, 8, gray));
    EXPECT_EQ((image_flags(w) & IRF_COLOR) != 0, !gray);
    DialogScript script;
    script.then([](HWND d) {
      choose_combo(d, IDC_IMG_QUALITY, 1);
      set_text(d, IDC_IMG_WIDTH, "20");
      press_ok(d);
    });
    ASSERT_EQ(run(E_SCALE, script), 1);
    BITMAPINFOHEADER bi = header_of(image_of(w));
    EXPECT_EQ(bi.biWidth, 20);
    EXPECT_EQ(bi.biHeight, 15) << "the aspect is kept";
    EXPECT_EQ(bi.biBitCount, gray ? 8 : 24);
    EXPECT_EQ(record_get(record(w), IR_DEPTH), gray ? 8u : 24u) << "info word 24";
    forget_changes(w);
  }
}

TEST_F(ImageTest, VersionAndInitRefuseWithTheirMessages) {
  bind_host();
  HMODULE image = GetModuleHandleA("image.dll");
  ASSERT_NE(image, nullptr);
  VersionProc version = (VersionProc)(void *)GetProcAddress(image, "RQ_ImgLib_Version");
  InitProc init = (InitProc)(void *)GetProcAddress(image, "RQ_ImgLib_Init");
  ASSERT_TRUE(version && init);
  EXPECT_EQ((void *)GetProcAddress(image, (LPCSTR)2), (void *)version) << "ordinal 2";
  EXPECT_EQ(version(0x0101, 0, 0), 1);
  EXPECT_EQ(version(0x0102, 0, 0), 0);
  EXPECT_EQ(version(0x0201, 0, 0), 0);
  EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Image: Incorrect version number (2)",
                                                     "Image: Incorrect version number (1)"}));
  // Outside the host's start the library has no popup to give.
  boxes().texts.clear();
  EXPECT_EQ(init(0, frame_), 0);
  EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Image: Cannot add popup menu"}));
  HWND w = open_picture(picture(8, 8, 24));
  HGLOBAL before = image_of(w);
  SendMessageA(frame_, WM_COMMAND, GetMenuItemID(image_popup(), 0), 0);
  EXPECT_EQ(image_of(w), before) << "a failed init matches no command";
  forget_changes(w);
  restart_host();
  w = open_picture(picture(8, 8, 24));
  run(E_INVERT);
  EXPECT_NE(image_of(w), before) << "a new run starts afresh";
  forget_changes(w);
}

TEST_F(ImageTest, TheIconAndTheMoverCursorAreResources) {
  bind_host();
  HMODULE image = GetModuleHandleA("image.dll");
  typedef HICON(WINAPI * IconProc)(void);
  IconProc icon = (IconProc)(void *)GetProcAddress(image, "RQ_ImgLib_Icon");
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(icon(), nullptr);
  EXPECT_NE(FindResourceA(image, MAKEINTRESOURCEA(IDI_IMG_ICON), (LPCSTR)RT_GROUP_ICON), nullptr);
  EXPECT_NE(LoadCursorA(image, MAKEINTRESOURCEA(IDC_IMG_MOVE)), nullptr);
}
