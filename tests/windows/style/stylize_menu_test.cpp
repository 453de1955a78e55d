// The host library's "Stylize" menu: there only with style.dll beside the
// library, grayed without an image to filter; its dialog follows the
// filter table, OK replaces the image with undo, Cancel changes nothing,
// the values outlive the dialog and the run; failures change nothing.
#include <windows.h>

#include <colordlg.h>

#include "core/host_messages.h"
#include "screenshot.h"
#include "style.h"
#include "stylize_fixture.h"
#include "zynlib.h"

namespace {

// The help lines the host asks the frame to show (host message 29).
std::vector<std::string> g_help;
WNDPROC g_frame_proc;

LRESULT CALLBACK record_help(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == HM_BASE + 29 && lp) g_help.push_back((const char *)((HostParamBlock *)lp)->field[HPB_PATH]);
  return CallWindowProcA(g_frame_proc, w, msg, wp, lp);
}

std::string text_of(HWND dialog, int id) {
  char text[128] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// "C&olors:" reads "Colors".
std::string without_marks(std::string s) {
  std::string out;
  for (char c : s)
    if (c != '&' && c != ':') out += c;
  return out;
}

std::string style_string(UINT id) {
  char text[128] = "";
  LoadStringA(GetModuleHandleA("style.dll"), id, text, sizeof text);
  return text;
}

int g_background_calls;
HWND g_doomed;
HWND g_client;

int WINAPI stop_at_once(void) { return 0; }

HWND g_shot_frame;

void CALLBACK shoot_and_close_menu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  save_screenshot(g_shot_frame, "stylize-menu");
  EndMenu();
}

// The popup dropped down from the bar, as Alt+S shows it.
void screenshot_dropped_menu(HWND frame) {
  g_shot_frame = frame;
  SetForegroundWindow(frame);
  SetTimer(NULL, 0, 400, shoot_and_close_menu);
  PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 's');
  pump_for(1200);
}

int WINAPI close_the_window(void) {
  if (g_background_calls++ == 0 && g_doomed) {
    record_change_flags(image_record(g_doomed, IMAGE_SLOT_RECORD), IRF_MODIFIED, 0);
    SendMessageA(g_client, WM_MDIDESTROY, (WPARAM)g_doomed, 0);
  }
  return 1;
}

} // namespace

TEST_F(StylizeTest, TheMenuStandsBeforeWindowAndHelpAndWantsAnImage) {
  bind_host();
  int position = -1;
  HMENU popup = stylize_popup(&position);
  ASSERT_NE(popup, nullptr);
  HMENU bar = GetMenu(frame_);
  EXPECT_EQ(position, GetMenuItemCount(bar) - 3);
  EXPECT_EQ(menu_text(bar, (UINT)position + 1), "&Window");
  ASSERT_EQ(GetMenuItemCount(popup), 2);
  EXPECT_EQ(menu_text(popup, 0), "&Filter...");
  EXPECT_EQ(GetMenuItemID(popup, 0), STZ_ID_FILTER);
  EXPECT_EQ(GetMenuItemID(popup, 1), STZ_ID_REPEAT);
  open_stylize_popup();
  EXPECT_TRUE(item_grayed(popup, STZ_ID_FILTER)) << "no window";
  add_image_window(IRF_COLOR, 0, 24);
  open_stylize_popup();
  EXPECT_TRUE(item_grayed(popup, STZ_ID_FILTER)) << "a window without an image";
  for (DWORD media : {IRF_MOVIE, IRF_WAVE, IRF_MIDI}) {
    add_image_window(media, 1, 24);
    open_stylize_popup();
    EXPECT_TRUE(item_grayed(popup, STZ_ID_FILTER)) << "media window " << media;
  }
  HWND w = open_photo();
  open_stylize_popup();
  EXPECT_FALSE(item_grayed(popup, STZ_ID_FILTER));
  EXPECT_TRUE(item_grayed(popup, STZ_ID_REPEAT)) << "nothing to repeat yet";
  // The help lines go through the host's help request.
  g_help.clear();
  g_frame_proc = (WNDPROC)SetWindowLongPtrA(frame_, GWLP_WNDPROC, (LONG_PTR)record_help);
  SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(STZ_ID_FILTER, MF_HILITE), (LPARAM)popup);
  SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(STZ_ID_REPEAT, MF_HILITE), (LPARAM)popup);
  SendMessageA(frame_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  SetWindowLongPtrA(frame_, GWLP_WNDPROC, (LONG_PTR)g_frame_proc);
  ASSERT_EQ(g_help.size(), 2u);
  EXPECT_EQ(g_help[0], "Applies a stylize filter to the image");
  EXPECT_EQ(g_help[1], "Applies the last stylize filter again with the same values");
  // Closing the window leaves nothing to filter.
  forget_changes(w);
  SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)w, 0);
  remove_image_windows();
  open_stylize_popup();
  EXPECT_TRUE(item_grayed(popup, STZ_ID_FILTER));
}

TEST_F(StylizeTest, WithoutStyleDllThereIsNoMenuAndNoCommand) {
  bind_host(suite_dir() + "\\nostyle");
  EXPECT_EQ(stylize_popup(), nullptr);
  HWND w = open_photo();
  HGLOBAL before = image_of(w);
  bool dialog = false;
  DialogScript script;
  script.otherwise([&dialog](HWND d) {
    dialog = true;
    press(d, IDCANCEL);
  });
  SendMessageA(frame_, WM_COMMAND, STZ_ID_FILTER, 0);
  pump_for(300);
  EXPECT_FALSE(dialog);
  EXPECT_EQ(image_of(w), before);
  EXPECT_TRUE(boxes().texts.empty());
}

TEST_F(StylizeTest, OkReplacesTheImageWithUndoAndCancelChangesNothing) {
  bind_host();
  HWND w = open_photo(240, 180);
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(window_text(d), "Stylize");
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETCOUNT, 0, 0), STZ_FILTER_COUNT);
    choose_filter(d, 20); // Motion Blur: its angle is p1
    set_value(d, IDC_STZ_AMOUNT, 8192);
    set_value(d, IDC_STZ_P1, 64);
    EXPECT_EQ(track_value(d, IDC_STZ_AMOUNT), 8192) << "the trackbar follows the value";
    EXPECT_EQ(text_of(d, IDC_STZ_GROUP), "Motion Blur");
    save_screenshot(d, "stylize-dialog");
    press_ok(d);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  HGLOBAL after = image_of(w);
  ASSERT_NE(after, before);
  EXPECT_EQ((HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE), before) << "the old image is the undo";
  EXPECT_TRUE(image_flags(w) & IRF_MODIFIED);
  StylizeChoice c = {20, 8192, 64, 0, 0, RGB(255, 255, 255)};
  HGLOBAL expected = direct_filter(c, before);
  EXPECT_TRUE(same_dib(after, expected)) << "the dialog's values reach the filter";
  GlobalFree(expected);
  EXPECT_TRUE(boxes().texts.empty());

  // Cancel: the values shown are the last ones; nothing changes.
  forget_changes(w);
  script.then([](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETCURSEL, 0, 0), 20);
    EXPECT_EQ(shown_value(d, IDC_STZ_AMOUNT), 8192);
    EXPECT_EQ(shown_value(d, IDC_STZ_P1), 64);
    choose_filter(d, 9);
    set_value(d, IDC_STZ_AMOUNT, 100);
    press(d, IDCANCEL);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  EXPECT_EQ(image_of(w), after);
  EXPECT_EQ((HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE), before);
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);

  // Repeat runs the last filter on the current image, without the dialog.
  open_stylize_popup();
  HMENU popup = stylize_popup();
  EXPECT_FALSE(item_grayed(popup, STZ_ID_REPEAT));
  EXPECT_EQ(menu_text(popup, 1), "&Repeat Motion Blur");
  screenshot_dropped_menu(frame_);
  bool dialog = false;
  script.otherwise([&dialog](HWND d) {
    dialog = true;
    press(d, IDCANCEL);
  });
  expected = direct_filter(c, after);
  ASSERT_EQ(command(STZ_ID_REPEAT, script), 0);
  EXPECT_FALSE(dialog);
  EXPECT_TRUE(same_dib(image_of(w), expected));
  EXPECT_EQ((HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE), after);
  GlobalFree(expected);
  forget_changes(w);
}

TEST_F(StylizeTest, TheValuesAreRememberedAcrossRuns) {
  bind_host();
  HWND w = open_photo();
  DialogScript script;
  bool chosen = false;
  script.then([&chosen](HWND d) {
    choose_filter(d, 33); // Sampler: size and colour
    set_value(d, IDC_STZ_AMOUNT, 12000);
    set_value(d, IDC_STZ_P1, 77);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_STZ_COLOR_SWATCH)));
    click(d, IDC_STZ_COLOR); // the colour dialog runs its own step meanwhile
    chosen = true;
    save_screenshot(d, "stylize-dialog-color");
    press_ok(d);
  });
  script.then([](HWND colors) {
    SetDlgItemInt(colors, COLOR_RED, 200, FALSE);
    SetDlgItemInt(colors, COLOR_GREEN, 30, FALSE);
    SetDlgItemInt(colors, COLOR_BLUE, 90, FALSE);
    press_ok(colors);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 2);
  EXPECT_TRUE(chosen);
  HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Stylize");
  ASSERT_NE(key, nullptr);
  int filter = -1, amount = -1, p1 = -1;
  DWORD color = 0;
  char n1[] = "filter", n2[] = "amount", n3[] = "p1", n4[] = "color";
  EXPECT_TRUE(ZYN_REG_GetValueInt(key, n1, &filter));
  EXPECT_TRUE(ZYN_REG_GetValueInt(key, n2, &amount));
  EXPECT_TRUE(ZYN_REG_GetValueInt(key, n3, &p1));
  EXPECT_TRUE(ZYN_REG_GetValueLHex(key, n4, &color));
  ZYN_REG_CloseSettings(key);
  EXPECT_EQ(filter, 33);
  EXPECT_EQ(amount, 12000);
  EXPECT_EQ(p1, 77);
  EXPECT_EQ(color, (DWORD)RGB(200, 30, 90));
  StylizeChoice c = {33, 12000, 77, 0, 0, RGB(200, 30, 90)};
  HGLOBAL expected = direct_filter(c, (HGLOBAL)record_get(record(w, IMAGE_SLOT_UNDO), IR_IMAGE));
  EXPECT_TRUE(same_dib(image_of(w), expected)) << "the chosen colour reaches the filter";
  GlobalFree(expected);
  forget_changes(w);

  restart_host();
  w = open_photo();
  script.then([](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETCURSEL, 0, 0), 33);
    EXPECT_EQ(shown_value(d, IDC_STZ_AMOUNT), 12000);
    EXPECT_EQ(shown_value(d, IDC_STZ_P1), 77);
    EXPECT_EQ(track_value(d, IDC_STZ_P1), 77);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_STZ_COLOR)));
    press(d, IDCANCEL);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  forget_changes(w);

  // Damaged values are brought back into range.
  key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Stylize");
  ASSERT_NE(key, nullptr);
  ZYN_REG_SetValueInt(key, n1, 32);
  ZYN_REG_SetValueInt(key, n2, 99999);
  ZYN_REG_SetValueInt(key, n3, -4);
  ZYN_REG_CloseSettings(key);
  restart_host();
  w = open_photo();
  script.then([](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETCURSEL, 0, 0), 32);
    EXPECT_EQ(shown_value(d, IDC_STZ_AMOUNT), STZ_FULL_AMOUNT);
    EXPECT_EQ(shown_value(d, IDC_STZ_P1), 0);
    press(d, IDCANCEL);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  forget_changes(w);
}

// Every filter's list line, labels, sliders, defaults and colour button
// follow style.dll's table; Defaults brings the table's values back.
TEST_F(StylizeTest, TheDialogFollowsTheFilterTable) {
  bind_host();
  HWND w = open_photo();
  DialogScript script;
  script.then([](HWND d) {
    for (int n = 0; n < STZ_FILTER_COUNT; n++) {
      StyFilterInfo info;
      ASSERT_TRUE(sty_filter_info(n, &info));
      SCOPED_TRACE(n);
      char line[128] = "";
      SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETTEXT, (WPARAM)n, (LPARAM)line);
      EXPECT_EQ(line, style_string(info.nameId));
      choose_filter(d, n);
      EXPECT_EQ(text_of(d, IDC_STZ_GROUP), line);
      const UINT labels[] = {info.label1, info.label2};
      const int rows[] = {IDC_STZ_P1, IDC_STZ_P2}, defaults[] = {info.default1, info.default2};
      for (int k = 0; k < 2; k++) {
        std::string label = without_marks(text_of(d, rows[k] + STZ_ROW_LABEL));
        EXPECT_EQ(label, labels[k] ? style_string(labels[k]) : k ? "Parameter 2" : "Parameter 1");
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(d, rows[k] + STZ_ROW_TRACK)) != 0, labels[k] != 0);
        if (labels[k]) {
          EXPECT_EQ(shown_value(d, rows[k]), defaults[k]);
        }
      }
      EXPECT_EQ(IsWindowVisible(GetDlgItem(d, IDC_STZ_COLOR)) != 0, (info.flags & STY_FLAG_COLOR) != 0);
    }
    choose_filter(d, 14); // Shake: Angle and Amount
    set_value(d, IDC_STZ_AMOUNT, 5);
    set_value(d, IDC_STZ_P1, 300);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_STZ_P1 + STZ_ROW_EDIT, EN_KILLFOCUS), 0);
    EXPECT_EQ(shown_value(d, IDC_STZ_P1), 255) << "values beyond the slider are clamped";
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_STZ_DEFAULTS, BN_CLICKED), 0);
    EXPECT_EQ(shown_value(d, IDC_STZ_AMOUNT), STZ_FULL_AMOUNT);
    EXPECT_EQ(shown_value(d, IDC_STZ_P1), 0);
    EXPECT_EQ(shown_value(d, IDC_STZ_P2), 128);
    press(d, IDCANCEL);
  });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  EXPECT_EQ(script.steps_left(), 0);
  forget_changes(w);
}

// A filter that refuses the image reports through style.dll; one stopped
// through the background call, or whose window closed meanwhile, changes
// nothing and says nothing.
TEST_F(StylizeTest, AFailedOrStoppedFilterChangesNothing) {
  bind_host();
  HWND w = add_image_window(IRF_COLOR, 0, 24);
  record_set(record(w), IR_IMAGE, (ULONG_PTR)test_dib(8, 6, 16));
  SendMessageA(st_.client, WM_MDIACTIVATE, (WPARAM)w, 0);
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) { press_ok(d); });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  EXPECT_EQ(image_of(w), before);
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], "Illegal image, cannot perform operation");
  remove_image_windows();

  boxes().texts.clear();
  w = open_photo();
  before = image_of(w);
  ZYN_EVT_StartBackground(stop_at_once);
  script.then([](HWND d) { press_ok(d); });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  ZYN_EVT_StopBackground();
  EXPECT_EQ(image_of(w), before);
  EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);

  g_background_calls = 0;
  g_doomed = w;
  g_client = st_.client;
  ZYN_EVT_StartBackground(close_the_window);
  script.then([](HWND d) { press_ok(d); });
  ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
  ZYN_EVT_StopBackground();
  EXPECT_GT(g_background_calls, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(child_count(), 0);
  EXPECT_TRUE(boxes().texts.empty());
}
