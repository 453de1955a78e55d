// The plug-in host library bound in this process: its function plug-ins'
// menus in the bar, a command that replaces the active image with undo,
// their help lines; and a library that lacks a handler, or none at all.
#include "core/pipeline.h"
#include "lumacast_strings.h"
#include "screenshot.h"
#include "viewer_fixture.h"
#include "zynlib.h"

namespace {

// The test plug-in's popup, or null.
HMENU testops_menu(HWND frame, int *position = nullptr) {
  HMENU bar = GetMenu(frame);
  for (int i = 0; i < GetMenuItemCount(bar); i++) {
    char text[32] = "";
    GetMenuStringA(bar, (UINT)i, text, sizeof text, MF_BYPOSITION);
    if (!lstrcmpA(text, "&Testops")) {
      if (position) *position = i;
      return GetSubMenu(bar, i);
    }
  }
  return NULL;
}

std::string module_dir() {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, sizeof path);
  *strrchr(path, '\\') = '\0';
  return path;
}

} // namespace

TEST_F(ViewerTest, AFunctionPluginsMenuReplacesTheActiveImageWithUndo) {
  imagehost_set_library(NULL);
  SetCurrentDirectoryA(module_dir().c_str()); // start-up binds from the program's own directory
  imagehost_bind(frame_, st_.client, FALSE);
  ASSERT_TRUE(imagehost_bound());
  EXPECT_EQ(pipeline_host_module(), GetModuleHandleA("IMAGEHOST.DLL")); // format plug-ins get it
  EXPECT_EQ(imagehost_count_plugins(), 1);
  char name[MAX_PATH] = "";
  GetModuleFileNameA(imagehost_plugin_handle(0), name, sizeof name);
  EXPECT_NE(strstr(name, "testops.dll"), nullptr) << name;
  int position = -1;
  HMENU menu = testops_menu(frame_, &position);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(position, 4); // before Window and Help
  UINT invert = GetMenuItemID(menu, 0), other = GetMenuItemID(menu, 1);
  EXPECT_GE(invert, 0x5000u);
  EXPECT_EQ(other, invert + 1);
  // Without an image the plug-in grays its item.
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)menu, position);
  EXPECT_TRUE(item_grayed(menu, invert));
  HWND w = open_file(card("card24.bmp"));
  ASSERT_NE(w, nullptr);
  SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)w, 0);
  pump_messages();
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)menu, position);
  EXPECT_FALSE(item_grayed(menu, invert));
  HGLOBAL before = image_of(w);
  BYTE first_before = 0, first_after = 0;
  BYTE *bits;
  ZYN_DIB_LockPtrs(before, NULL, NULL, &bits);
  first_before = bits[0];
  GlobalUnlock(before);
  SendMessageA(frame_, WM_COMMAND, invert, 0);
  ASSERT_NE(image_of(w), before);
  ZYN_DIB_LockPtrs(image_of(w), NULL, NULL, &bits);
  first_after = bits[0];
  GlobalUnlock(image_of(w));
  EXPECT_EQ(first_after, (BYTE)~first_before);
  EXPECT_TRUE(image_flags(w) & IRF_MODIFIED);
  EXPECT_EQ((HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE), before);
  save_screenshot(frame_, "function-plugin-menu-in-the-bar");
  forget_changes(w);
  // Closing the window tells the plug-in, which forgets it.
  SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)w, 0);
  SendMessageA(frame_, WM_INITMENUPOPUP, (WPARAM)menu, position);
  EXPECT_TRUE(item_grayed(menu, invert));
  DestroyWindow(frame_); // the host goes after the frame's last message
  EXPECT_FALSE(imagehost_bound());
  EXPECT_EQ(pipeline_host_module(), nullptr);
  EXPECT_EQ(GetModuleHandleA("testops.dll"), nullptr);
}

TEST_F(ViewerTest, ALibraryWithoutAHandlerIsNeverInitialised) {
  std::string broken = module_dir() + "\\imagehost_broken.dll";
  imagehost_set_library(broken.c_str());
  imagehost_bind(frame_, st_.client, TRUE);
  imagehost_set_library(NULL);
  EXPECT_FALSE(imagehost_bound());
  HANDLE marker = OpenEventA(SYNCHRONIZE, FALSE, "LumacastBrokenHostInitialised");
  EXPECT_EQ(marker, nullptr);
  if (marker) CloseHandle(marker);
  EXPECT_EQ(GetModuleHandleA("imagehost_broken.dll"), nullptr);
  EXPECT_EQ(testops_menu(frame_), nullptr);
  // The windows run as before, and every host call yields 0.
  HWND w = open_file(card("card8.bmp"));
  EXPECT_NE(w, nullptr);
  EXPECT_EQ(imagehost_count_plugins(), 0);
  EXPECT_EQ(imagehost_plugin_handle(0), nullptr);
}

TEST_F(ViewerTest, AMissingLibraryIsNoMessage) {
  std::string missing = module_dir() + "\\no_such_host.dll";
  imagehost_set_library(missing.c_str());
  imagehost_bind(frame_, st_.client, TRUE);
  imagehost_set_library(NULL);
  EXPECT_FALSE(imagehost_bound());
  EXPECT_TRUE(boxes().texts.empty());
}
