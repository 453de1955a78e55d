// Crop and Scale from the menu, their dialogs driven as a user would:
// margins typed and dragged, the preview's modes, sizes in other units,
// the custom resolution, the refusals, and the values a next run shows.
#include "image_fixture.h"
#include "screenshot.h"
#include "zynlib.h"

namespace {

HWND preview_of(HWND d) { return GetDlgItem(d, IDC_CRP_PREVIEW); }

void mouse(HWND w, UINT msg, int x, int y) { SendMessageA(w, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }

}  // namespace

TEST_F(ImageTest, CropCutsTheTypedMarginsWithUndo) {
  bind_host();
  HWND w = open_picture(picture(120, 90, 24));
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(window_text(d), "Crop");
    expect_polished(d);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_CRP_FIT))) << "the image fits";
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_CRP_REAL));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_CRP_HSCROLL)));
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "120");
    set_text(d, IDC_IMG_TOP, "10");
    EXPECT_EQ(text_of(d, IDC_IMG_HEIGHT), "80");
    set_text(d, IDC_IMG_WIDTH, "99");
    EXPECT_EQ(text_of(d, IDC_IMG_RIGHT), "10") << "the lower half to the right";
    EXPECT_EQ(text_of(d, IDC_IMG_LEFT), "11");
    set_text(d, IDC_IMG_BOTTOM, "95");
    EXPECT_EQ(text_of(d, IDC_IMG_BOTTOM), "80") << "cut back to what the top leaves";
    EXPECT_EQ(text_of(d, IDC_IMG_HEIGHT), "0");
    set_text(d, IDC_IMG_BOTTOM, "5");
    save_screenshot(d, "image-crop");
    press_ok(d);
  });
  ASSERT_EQ(run(E_CROP, script), 1);
  HGLOBAL expected = NULL;
  ImgCropParams crop = {11, 10, 10, 5};
  ASSERT_EQ(img_crop(before, &crop, &expected), IMG_OK);
  EXPECT_TRUE(same_pixels(image_of(w), expected));
  EXPECT_EQ(header_of(image_of(w)).biWidth, 99);
  GlobalFree(expected);
  undo();
  EXPECT_EQ(image_of(w), before);

  // Margins that leave nothing are refused and change nothing.
  script.then([](HWND d) {
    EXPECT_EQ(text_of(d, IDC_IMG_TOP), "0") << "margins start at 0";
    set_text(d, IDC_IMG_LEFT, "120");
    press_ok(d);
  });
  ASSERT_EQ(run(E_CROP, script), 1);
  EXPECT_EQ(image_of(w), before);
  EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Cannot have an image dimension less than or equal to zero"}));
  forget_changes(w);
}

TEST_F(ImageTest, CropPreviewOfALargeImageFitsAndItsMarksDrag) {
  bind_host();
  HWND w = open_picture(picture(900, 700, 8));
  DialogScript script;
  std::string width, height;
  script.then([&width, &height](HWND d) {
    HWND p = preview_of(d);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_CRP_FIT)));
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_CRP_FIT));
    RECT r;
    GetClientRect(p, &r);
    int midY = r.bottom / 2;
    // The inside of the box with every margin 0 explains the drag.
    mouse(p, WM_LBUTTONDOWN, r.right / 2, midY);
    EXPECT_EQ(boxes().texts.size(), 1u);
    // The left side, dragged a quarter of the way in.
    int iw = r.right - 2, ih = r.bottom - 2;
    mouse(p, WM_LBUTTONDOWN, 2, midY);
    mouse(p, WM_MOUSEMOVE, 1 + iw / 4, midY);
    mouse(p, WM_LBUTTONUP, 1 + iw / 4, midY);
    std::string left = std::to_string(iw / 4 * 900 / iw), top = std::to_string(ih / 10 * 700 / ih);
    EXPECT_EQ(text_of(d, IDC_IMG_LEFT), left);
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), std::to_string(900 - iw / 4 * 900 / iw));
    // The top, then the whole box moved up and left as far as it goes.
    mouse(p, WM_LBUTTONDOWN, r.right / 2, 2);
    mouse(p, WM_MOUSEMOVE, r.right / 2, 1 + ih / 10);
    mouse(p, WM_LBUTTONUP, r.right / 2, 1 + ih / 10);
    EXPECT_EQ(text_of(d, IDC_IMG_TOP), top);
    mouse(p, WM_LBUTTONDOWN, r.right / 2, midY);
    mouse(p, WM_MOUSEMOVE, r.right / 2 - 1000, midY - 1000);
    mouse(p, WM_LBUTTONUP, r.right / 2 - 1000, midY - 1000);
    EXPECT_EQ(text_of(d, IDC_IMG_LEFT), "0") << "the box stops at the image's edge";
    EXPECT_EQ(text_of(d, IDC_IMG_RIGHT), left);
    EXPECT_EQ(text_of(d, IDC_IMG_TOP), "0");
    EXPECT_EQ(text_of(d, IDC_IMG_BOTTOM), top);
    save_screenshot(d, "image-crop-fit");
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_CRP_REAL, BN_CLICKED), 0);
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_CRP_REAL));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_CRP_HSCROLL)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_CRP_VSCROLL)));
    SendMessageA(d, WM_HSCROLL, SB_PAGERIGHT, (LPARAM)GetDlgItem(d, IDC_CRP_HSCROLL));
    EXPECT_GT(GetScrollPos(GetDlgItem(d, IDC_CRP_HSCROLL), SB_CTL), 0);
    save_screenshot(d, "image-crop-real");
    width = text_of(d, IDC_IMG_WIDTH);
    height = text_of(d, IDC_IMG_HEIGHT);
    press_ok(d);
  });
  ASSERT_EQ(run(E_CROP, script), 1);
  BITMAPINFOHEADER bi = header_of(image_of(w));
  EXPECT_EQ(std::to_string(bi.biWidth), width);
  EXPECT_EQ(std::to_string(bi.biHeight), height);
  EXPECT_LT(bi.biWidth, 900);
  forget_changes(w);
}

TEST_F(ImageTest, ScaleTakesSizesInEveryUnitAndRemembersItsChoices) {
  bind_host();
  HWND w = open_picture(picture(40, 30, 24));
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(window_text(d), "Scale Image");
    expect_polished(d);
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_SCL_ASPECT));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_SCL_CUSTOM_X))) << "custom only";
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "40");
    choose_combo(d, IDC_SCL_UNITS, 1);
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "100");
    EXPECT_EQ(text_of(d, IDC_SCL_WIDTH_UNIT), "%");
    set_text(d, IDC_IMG_WIDTH, "33");
    EXPECT_EQ(text_of(d, IDC_IMG_HEIGHT), "36") << "(33 x 40 + 99) / 100 = 14 wide, 11 high";
    choose_combo(d, IDC_SCL_MEASURE, 2);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_SCL_CUSTOM_X)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_SCL_MEASURE_PLAIN)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_SCL_MEASURE)));
    set_text(d, IDC_SCL_CUSTOM_X, "50");
    choose_combo(d, IDC_SCL_UNITS, 2);
    EXPECT_EQ(text_of(d, IDC_SCL_WIDTH_UNIT), "In.");
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "0.280") << "14 pixels at 50 per inch";
    save_screenshot(d, "image-scale");
    choose_combo(d, IDC_SCL_MEASURE_PLAIN, 0);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_SCL_MEASURE)));
    char item[64] = "";
    SendDlgItemMessageA(d, IDC_SCL_MEASURE, CB_GETLBTEXT, 2, (LPARAM)item);
    EXPECT_STREQ(item, "Custom (50, 96)");
    SendDlgItemMessageA(d, IDC_SCL_MEASURE, CB_GETLBTEXT, 1, (LPARAM)item);
    EXPECT_STREQ(item, "Printer (300, 300)");
    choose_combo(d, IDC_SCL_MEASURE, 2);
    choose_combo(d, IDC_SCL_UNITS, 0);
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "14");
    set_text(d, IDC_IMG_WIDTH, "0");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Cannot enter 0 for width or height"}));
    EXPECT_TRUE(IsWindow(d)) << "the dialog stays";
    set_text(d, IDC_IMG_WIDTH, "14");
    press_ok(d);
  });
  ASSERT_EQ(run(E_SCALE, script), 1);
  HGLOBAL expected = ZYN_DIB_StretchDIB(before, 14, 11);
  EXPECT_TRUE(same_pixels(image_of(w), expected)) << "low quality is the library's stretch";
  GlobalFree(expected);
  forget_changes(w);

  restart_host();
  w = open_picture(picture(40, 30, 24));
  script.then([](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_SCL_UNITS, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_SCL_MEASURE_PLAIN, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(text_of(d, IDC_SCL_CUSTOM_X), "50");
    SendMessageA(d, WM_COMMAND, IDC_IMG_RESET, 0);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_SCL_MEASURE))) << "reset: screen";
    CheckDlgButton(d, IDC_SCL_ASPECT, BST_UNCHECKED);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_SCL_ASPECT, BN_CLICKED), 0);
    set_text(d, IDC_IMG_WIDTH, "80");
    EXPECT_EQ(text_of(d, IDC_IMG_HEIGHT), "30") << "without the aspect rule";
    press(d, IDCANCEL);
  });
  ASSERT_EQ(run(E_SCALE, script), 1);
  HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Image");
  ASSERT_NE(key, nullptr);
  DWORD measure = 9, resX = 0;
  char n1[] = "ScaleMeasure", n2[] = "CustomResX";
  EXPECT_TRUE(ZYN_REG_GetValueDWord(key, n1, &measure));
  EXPECT_TRUE(ZYN_REG_GetValueDWord(key, n2, &resX));
  ZYN_REG_CloseSettings(key);
  EXPECT_EQ(measure, 2u);
  EXPECT_EQ(resX, 50u);
  forget_changes(w);
}
