// The file dialogs driven while they run: Save As into every writable
// format, the save-options panel following each type's capabilities, the
// name and colour-loss checks, Open; and the logo, load panel and a real
// question box on the screen.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <stdio.h>

#include "core/catalogue.h"
#include "core/load_panel.h"
#include "core/save_options.h"
#include "dialog_script.h"
#include "lumacast_strings.h"
#include "resource.h"
#include "screenshot.h"
#include "shell/filedlg/save_panel_res.h"
#include "shell/settings/settings.h"
#include "viewer_fixture.h"
#include "zynlib.h"

namespace {

// The panel's buttons as the dialog shows them.
struct PanelView {
  WORD enabled = 0, checked = 0;
};

PanelView read_panel(HWND dialog) {
  PanelView v;
  for (WORD bit = 1; bit <= SO_COMPRESSED; bit <<= 1) {
    HWND b = find_descendant(dialog, SO_CONTROL_ID(bit));
    if (!b) continue;
    if (IsWindowEnabled(b)) v.enabled |= bit;
    if (SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED) v.checked |= bit;
  }
  return v;
}

int type_line(int format) { return catalogue_filter_position(1, format); }

// Any other dialog on the way (an icon type, a plug-in's options, an
// overwrite question) is accepted as it comes.
void accept_anything(HWND d) {
  HWND yes = GetDlgItem(d, IDYES);
  if (yes) PostMessageA(d, WM_COMMAND, IDYES, (LPARAM)yes);
  else press_ok(d);
}

BOOL run_save_as(HWND w) { return image_save_as(w); }

std::string upper(std::string s) {
  for (char &c : s) c = (char)toupper((unsigned char)c);
  return s;
}

} // namespace

TEST_F(ViewerTest, SaveAsWritesEveryWritableFormatAndTheFilesReadBack) {
  boxes().answer = IDYES; // the colour-loss question
  int saved = 0;
  for (int f = 0; f < catalogue_count(); f++) {
    if (!catalogue_listed_for_save(f)) continue;
    char ext[LC_EXT_SIZE];
    catalogue_extension(f, ext, sizeof ext);
    SCOPED_TRACE(ext);
    HWND w = open_file(card("card24.bmp"));
    ASSERT_NE(w, nullptr);
    std::string target = scratch("out_") + ext + "." + ext;
    bool shot = f == format_of_extension("GIF");
    DialogScript script;
    script
        .then([&](HWND d) {
          set_file_name(d, target.c_str());
          choose_type(d, type_line(f));
          if (shot) {
            save_screenshot(d, "save-as-dialog");
            click(d, pshHelp); // Formats>>
            save_screenshot(d, "save-as-dialog-with-options-panel");
          }
          press_ok(d);
        })
        .otherwise(accept_anything);
    ASSERT_TRUE(run_save_as(w));
    saved++;
    EXPECT_NE(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ((int)record_get(record(w), IR_FORMAT), f);
    EXPECT_FALSE(image_flags(w) & IRF_MODIFIED);
    if (!lstrcmpA(ext, "EPS")) {
      EXPECT_EQ(title_of(w), card("card24.bmp")); // cannot be opened again: the old title stays
    } else {
      EXPECT_EQ(title_of(w), upper(target));
    }
    if (lstrcmpA(ext, "EPS") && lstrcmpA(ext, "GEN") && lstrcmpA(ext, "HEX")) {
      HGLOBAL back = load_back(target);
      ASSERT_NE(back, nullptr) << "reading back " << target;
      BITMAPINFOHEADER bi;
      ZYN_DIB_Info(back, &bi);
      if (lstrcmpA(ext, "ICO")) {
        EXPECT_EQ(bi.biWidth, 480);
        EXPECT_EQ(abs(bi.biHeight), 360);
      }
      GlobalFree(back);
    }
    SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)w, 0);
  }
  EXPECT_GE(saved, 18);
}

TEST_F(ViewerTest, SaveAsWritesEachDepthThePanelOffers) {
  const char *exts[] = {"BMP", "TIF"};
  for (const char *ext : exts) {
    int f = format_of_extension(ext);
    const FormatEntry *e = catalogue_entry(f);
    for (int slot = 0; slot < LC_DEPTH_SLOTS; slot++) {
      if (!e->saveCaps[slot]) continue;
      int bits = bits_of_depth_slot(slot);
      SCOPED_TRACE(std::string(ext) + " " + std::to_string(bits));
      HWND w = open_file(card("card24.bmp"));
      std::string target = scratch("depth") + std::to_string(bits) + "." + ext;
      boxes().answer = IDYES;
      DialogScript script;
      script
          .then([&](HWND d) {
            set_file_name(d, target.c_str());
            choose_type(d, type_line(f));
            click(d, SO_CONTROL_ID(1 << slot));
            press_ok(d);
          })
          .otherwise(accept_anything);
      ASSERT_TRUE(run_save_as(w));
      EXPECT_EQ((int)record_get(record(w), IR_DEPTH), bits);
      HGLOBAL back = load_back(target);
      ASSERT_NE(back, nullptr);
      BITMAPINFOHEADER bi;
      ZYN_DIB_Info(back, &bi);
      EXPECT_EQ(bi.biBitCount, bits == 16 ? 24 : bits);
      GlobalFree(back);
      SendMessageA(st_.client, WM_MDIDESTROY, (WPARAM)w, 0);
    }
  }
}

TEST_F(ViewerTest, ThePanelFollowsTheCapabilitiesOfTheChosenType) {
  HWND w = open_file(card("card24.bmp"));
  ASSERT_NE(w, nullptr);
  PanelView gif, pcx, dib_compressed;
  DialogScript script;
  script.then([&](HWND d) {
    choose_type(d, type_line(format_of_extension("GIF")));
    gif = read_panel(d); // no 24 bits: the check moves down to 256 colours
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(run_save_as(w));
  HWND w8 = open_file(card("card8.bmp"));
  ASSERT_NE(w8, nullptr);
  DialogScript dib;
  dib.then([&](HWND d) {
    choose_type(d, type_line(format_of_extension("DIB")));
    click(d, IDC_SAVE_COMPRESSED);
    dib_compressed = read_panel(d);
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(run_save_as(w8));
  EXPECT_FALSE(gif.enabled & SO_24BIT);
  EXPECT_TRUE(gif.checked & SO_8BIT);
  EXPECT_TRUE(dib_compressed.checked & SO_COMPRESSED);
  EXPECT_EQ(dib_compressed.enabled & SO_DEPTHS, SO_1BIT | SO_4BIT | SO_8BIT);
  // A monochrome image as PCX: gray only, always compressed.
  HWND mono = open_file(card("card1.bmp"));
  ASSERT_NE(mono, nullptr);
  DialogScript second;
  second.then([&](HWND d) {
    choose_type(d, type_line(format_of_extension("PCX")));
    pcx = read_panel(d);
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(run_save_as(mono));
  EXPECT_FALSE(pcx.enabled & SO_COLOR);
  EXPECT_TRUE(pcx.checked & SO_GRAY);
  EXPECT_TRUE(pcx.checked & SO_COMPRESSED);
  EXPECT_TRUE(pcx.checked & SO_1BIT);
  // Cancel changed nothing.
  EXPECT_EQ((int)record_get(record(mono), IR_FORMAT), format_of_extension("BMP"));
  EXPECT_EQ(title_of(mono), card("card1.bmp"));
}

TEST_F(ViewerTest, SaveAsRefusesAFourLetterExtensionAndAsksBeforeLosingColour) {
  HWND w = open_file(card("card24.bmp"));
  ASSERT_NE(w, nullptr);
  std::string tiff = scratch("x.TIFF");
  {
    DialogScript script;
    script
        .then([&](HWND d) {
          choose_type(d, type_line(format_of_extension("TIF"))); // a type change rewrites the extension
          set_file_name(d, tiff.c_str());
          press_ok(d);
        })
        .otherwise(accept_anything);
    EXPECT_FALSE(run_save_as(w)) << title_of(w);
  }
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], "Illegal DOS extension -- extension too long");
  EXPECT_EQ(GetFileAttributesA(tiff.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(title_of(w), card("card24.bmp"));
  // 24 bits into GIF loses colours: No keeps the window and writes nothing.
  boxes().texts.clear();
  boxes().answer = IDNO;
  std::string gif = scratch("y.gif");
  {
    DialogScript script;
    script.then([&](HWND d) {
      set_file_name(d, gif.c_str());
      choose_type(d, type_line(format_of_extension("GIF")));
      press_ok(d);
    });
    EXPECT_FALSE(run_save_as(w));
  }
  ASSERT_EQ(boxes().texts.size(), 1u);
  EXPECT_EQ(boxes().texts[0], "About to destroy color information, continue?");
  EXPECT_EQ(GetFileAttributesA(gif.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 24u);
}

TEST_F(ViewerTest, OpenLoadsTheChosenFileWithTheChosenType) {
  int bmp = format_of_extension("BMP");
  catalogue_set_current_load(catalogue_wildcard_index());
  DialogScript script;
  script.then([&](HWND d) {
    save_screenshot(d, "open-dialog");
    set_file_name(d, card("card4.bmp").c_str());
    choose_type(d, catalogue_filter_position(0, bmp));
    press_ok(d);
  });
  SendMessageA(frame_, WM_COMMAND, IDM_OPEN, 0);
  ASSERT_EQ(child_count(), 1);
  HWND w = (HWND)SendMessageA(st_.client, WM_MDIGETACTIVE, 0, 0);
  EXPECT_EQ(upper(title_of(w)), upper(card("card4.bmp")));
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 4u);
  EXPECT_EQ(catalogue_current_load(), bmp);
  EXPECT_EQ((int)record_get(record(w), IR_FORMAT), bmp);
  // Cancel opens nothing.
  DialogScript cancel;
  cancel.then([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
  SendMessageA(frame_, WM_COMMAND, IDM_OPEN, 0);
  EXPECT_EQ(child_count(), 1);
  EXPECT_TRUE(boxes().texts.empty());
}

TEST_F(ViewerTest, TheAllFilesTypeGivesTheWindowTheDetectedFormat) {
  DialogScript script;
  script.then([&](HWND d) {
    set_file_name(d, card("card8.bmp").c_str());
    choose_type(d, catalogue_filter_position(0, catalogue_wildcard_index()));
    press_ok(d);
  });
  SendMessageA(frame_, WM_COMMAND, IDM_OPEN, 0);
  ASSERT_EQ(child_count(), 1);
  HWND w = (HWND)SendMessageA(st_.client, WM_MDIGETACTIVE, 0, 0);
  EXPECT_EQ((int)record_get(record(w), IR_FORMAT), format_of_extension("BMP"));
}

TEST_F(ViewerTest, TheAboutWindowAndTheLoadPanelOnTheScreen) {
  SendMessageA(frame_, WM_COMMAND, IDM_ABOUT, 0);
  HWND about = FindWindowA(LC_ABOUT_CLASS, NULL);
  ASSERT_NE(about, nullptr);
  save_screenshot(about, "about-window");
  SendMessageA(about, WM_LBUTTONDOWN, 0, 0);
  EXPECT_FALSE(IsWindow(about));
  // The panel as a loader fills it.
  load_panel_open("Loading...", card("card24.bmp").c_str());
  loadinfo_set_number(LI_WIDTH, 480);
  loadinfo_set_number(LI_HEIGHT, 360);
  loadinfo_set_number(LI_BITS_PER_PIXEL, 24);
  loadinfo_set_number(LI_PLANES, 1);
  loadinfo_set_number(LI_MEMORY, 518400);
  Sleep(200); // a load that is over at once shows no panel
  load_panel_info_ready();
  load_panel_begin_progress(0, 10);
  load_panel_step(6);
  HWND panel = FindWindowA("DisplayClass", "Loading...");
  ASSERT_NE(panel, nullptr);
  save_screenshot(panel, "load-panel");
  load_panel_close();
  EXPECT_FALSE(IsWindow(panel));
}

// One real box on the screen, as a user sees it.
int WINAPI real_box(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

TEST_F(ViewerTest, TheUnsavedChangesQuestionOnTheScreen) {
  HWND w = open_file(card("card8.bmp"));
  ASSERT_NE(w, nullptr);
  image_install(w, test_dib(20, 20, 8));
  ZYN_ERRMETHOD saved = ZYN_ERR_SetErrorMethod(real_box);
  std::string text;
  DialogScript script;
  script.then([&](HWND d) {
    text = window_text(GetDlgItem(d, 0xFFFF));
    save_screenshot(d, "unsaved-changes-question");
    PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
  });
  SendMessageA(w, WM_CLOSE, 0, 0);
  ZYN_ERR_SetErrorMethod(saved);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(script.steps_run(), 1);
  EXPECT_NE(text.find("has been changed.  Save file before closing?"), std::string::npos) << text;
  forget_changes(w);
}
