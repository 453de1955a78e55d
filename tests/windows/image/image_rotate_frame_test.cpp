// Rotate with its color choice (the palette grid of dialog 8300 and the
// 1-bit toggle), and Frame/Caption with its alignment dialog, the caption
// drawn by GDI and the refusals of its OK.
#include <string.h>

#include "image_fixture.h"
#include "screenshot.h"
#include "zynlib.h"

namespace {

COLORREF swatch_of(HWND d, int id) { return (COLORREF)SendDlgItemMessageA(d, id, SCM_GETCOLOR, 0, 0); }

// Top-down pixel (x, y) of a 24- or 32-bit DIB as 0xRRGGBB.
DWORD pixel_at(HGLOBAL dib, int x, int y) {
  BITMAPINFOHEADER *bi;
  RGBQUAD *t;
  BYTE *bits;
  ZYN_DIB_LockPtrs(dib, &bi, &t, &bits);
  DWORD stride = (DWORD)((bi->biWidth * bi->biBitCount + 31) / 32 * 4);
  const BYTE *p = bits + (DWORD)(bi->biHeight - 1 - y) * stride + x * (bi->biBitCount / 8);
  DWORD v = (DWORD)p[2] << 16 | p[1] << 8 | p[0];
  GlobalUnlock(dib);
  return v;
}

// A 1-bit picture whose two entries are neither black nor white.
HGLOBAL tinted_mono(void) {
  HGLOBAL dib = picture(16, 8, 1);
  BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)GlobalLock(dib);
  RGBQUAD *t = (RGBQUAD *)(bi + 1);
  t[0] = RGBQUAD{90, 20, 10, 0};   // dark blue-ish
  t[1] = RGBQUAD{200, 240, 250, 0}; // pale yellow
  GlobalUnlock(dib);
  return dib;
}

}  // namespace

TEST_F(ImageTest, RotateOffersQuarterTurnsAndAPaletteColor) {
  bind_host();
  HWND w = open_picture(picture(30, 20, 8));
  HGLOBAL before = image_of(w);
  RGBQUAD entry5 = ((RGBQUAD *)((BITMAPINFOHEADER *)GlobalLock(before) + 1))[5];
  GlobalUnlock(before);
  DialogScript script;
  script.then([entry5](HWND d) {
    EXPECT_EQ(window_text(d), "Rotate");
    expect_polished(d);
    EXPECT_EQ(text_of(d, IDC_ROT_AMOUNT), "180");
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_ROT_180));
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_IMG_QUALITY, CB_GETCURSEL, 0, 0), 1) << "a quarter turn suggests High";
    set_text(d, IDC_ROT_AMOUNT, "-45");
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_ROT_CUSTOM));
    set_text(d, IDC_ROT_AMOUNT, "400");
    EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Enter an amount between -360 and 360 degrees"}));
    EXPECT_EQ(text_of(d, IDC_ROT_AMOUNT), "360");
    CheckRadioButton(d, IDC_ROT_CUSTOM, IDC_ROT_270, IDC_ROT_270);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ROT_270, BN_CLICKED), 0);
    EXPECT_EQ(text_of(d, IDC_ROT_AMOUNT), "270");
    click(d, IDC_ROT_COLOR);  // the palette grid runs its own step meanwhile
    EXPECT_EQ(swatch_of(d, IDC_ROT_SWATCH), RGB(entry5.rgbRed, entry5.rgbGreen, entry5.rgbBlue));
    save_screenshot(d, "image-rotate");
    press_ok(d);
  });
  script.then([](HWND colors) {
    expect_polished(colors);
    HWND grid = GetDlgItem(colors, IDC_IMG_COLOR_GRID);
    EXPECT_EQ(SendMessageA(grid, CCM_GETINDEX, 0, 0), 0) << "the stored index";
    // Entry 5 sits in column 0, row 5 of the 16 by 16 grid.
    RECT r;
    GetClientRect(grid, &r);
    int cell = r.right / 16, row = r.bottom / 16;
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell / 2, row * 5 + row / 2));
    EXPECT_EQ(SendMessageA(grid, CCM_GETINDEX, 0, 0), 5);
    save_screenshot(colors, "image-color");
    press_ok(colors);
  });
  ASSERT_EQ(run(E_ROTATE, script), 2);
  HGLOBAL expected = NULL;
  ASSERT_EQ(img_rotate_quarter(before, 3, &expected), IMG_OK);
  EXPECT_TRUE(same_pixels(image_of(w), expected));
  EXPECT_EQ(record_get(record(w), IR_DEPTH), 8u);
  GlobalFree(expected);
  undo();
  EXPECT_EQ(image_of(w), before);
  forget_changes(w);
}

// COL_ChooseColor on a 1-bit image toggles the index and takes that
// entry's own color, not black or white.
TEST_F(ImageTest, TheColorOfA1BitImageIsItsTablesEntry) {
  bind_host();
  HWND w = open_picture(tinted_mono());
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(swatch_of(d, IDC_ROT_SWATCH), RGB(10, 20, 90)) << "entry 0";
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ROT_COLOR, BN_CLICKED), 0);
    EXPECT_EQ(swatch_of(d, IDC_ROT_SWATCH), RGB(250, 240, 200)) << "entry 1";
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ROT_COLOR, BN_CLICKED), 0);
    EXPECT_EQ(swatch_of(d, IDC_ROT_SWATCH), RGB(10, 20, 90));
    press(d, IDCANCEL);
  });
  ASSERT_EQ(run(E_ROTATE, script), 1);
  EXPECT_EQ(script.steps_left(), 0) << "no dialog for 1 bit";
  forget_changes(w);
}

TEST_F(ImageTest, FrameAddsMarginsOutlineAndCaption) {
  bind_host();
  HWND w = open_picture(picture(60, 30, 24));
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(window_text(d), "Frame/Caption");
    expect_polished(d);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_IMG_ALPHA))) << "32-bit images only";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_IMG_COLOR_CHANNELS)));
    set_text(d, IDC_IMG_WIDTH, "71");
    EXPECT_EQ(text_of(d, IDC_IMG_LEFT), "5");
    EXPECT_EQ(text_of(d, IDC_IMG_RIGHT), "6");
    set_text(d, IDC_IMG_TOP, "4");
    EXPECT_EQ(text_of(d, IDC_IMG_HEIGHT), "34");
    choose_combo(d, IDC_FRM_STYLE, 1);
    set_text(d, IDC_FRM_CAPTION, std::string(256, 'x').c_str());
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    set_text(d, IDC_FRM_CAPTION, "Hello");
    set_text(d, IDC_IMG_HEIGHT, "29");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Caption too long, use a caption less than 255 characters",
                                                       "Height field cannot be less than original image height"}));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_IMG_HEIGHT);
    set_text(d, IDC_IMG_HEIGHT, "34");
    EXPECT_EQ(text_of(d, IDC_IMG_TOP), "2") << "the typed height splits again";
    EXPECT_EQ(text_of(d, IDC_IMG_BOTTOM), "2");
    click(d, IDC_FRM_ALIGN);
    save_screenshot(d, "image-frame");
    press_ok(d);
  });
  script.then([](HWND align) {
    expect_polished(align);
    EXPECT_TRUE(IsDlgButtonChecked(align, IDC_ALN_TOP));
    EXPECT_TRUE(IsDlgButtonChecked(align, IDC_ALN_LEFT));
    CheckRadioButton(align, IDC_ALN_TOP, IDC_ALN_BOTTOM, IDC_ALN_BOTTOM);
    CheckRadioButton(align, IDC_ALN_LEFT, IDC_ALN_RIGHT, IDC_ALN_RIGHT);
    save_screenshot(align, "image-align");
    press_ok(align);
  });
  ASSERT_EQ(run(E_FRAME, script), 2);
  HGLOBAL after = image_of(w);
  BITMAPINFOHEADER bi = header_of(after);
  EXPECT_EQ(bi.biWidth, 71);
  EXPECT_EQ(bi.biHeight, 34);
  EXPECT_EQ(pixel_at(after, 0, 0), 0xA0A0A0u) << "outline";
  EXPECT_EQ(pixel_at(after, 2, 1), 0x808080u) << "fill";
  EXPECT_EQ(pixel_at(after, 70, 33), 0xA0A0A0u);
  EXPECT_EQ(pixel_at(after, 10, 10), pixel_at(before, 5, 8)) << "the image at its margins";
  // The caption sits at the bottom right in the text color.
  int text = 0, textLeft = 71;
  for (int y = 0; y < 34; y++)
    for (int x = 0; x < 71; x++)
      if (pixel_at(after, x, y) == 0xC0C0C0u) text++, textLeft = x < textLeft ? x : textLeft;
  EXPECT_GT(text, 20);
  EXPECT_GT(textLeft, 20) << "right-aligned";
  EXPECT_EQ(pixel_at(after, 1, 1), 0x808080u) << "the caption is not at the top left";
  undo();
  EXPECT_EQ(image_of(w), before);
  forget_changes(w);

  // The choices outlive the run.
  restart_host();
  HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Image");
  DWORD alignment = 0, style = 0;
  char n1[] = "Alignment", n2[] = "Style";
  EXPECT_TRUE(ZYN_REG_GetValueDWord(key, n1, &alignment));
  EXPECT_TRUE(ZYN_REG_GetValueDWord(key, n2, &style));
  ZYN_REG_CloseSettings(key);
  EXPECT_EQ(alignment, 0x24u);
  EXPECT_EQ(style, 1u);
}

TEST_F(ImageTest, APaletteFrameTakesItsColorsFromTheGrid) {
  bind_host();
  HWND w = open_picture(picture(20, 10, 4));
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(swatch_of(d, IDC_FRM_SWATCH), RGB(0, 255, 0)) << "entry 0 of the table";
    set_text(d, IDC_IMG_LEFT, "3");
    click(d, IDC_FRM_COLOR);
    press_ok(d);
  });
  script.then([](HWND colors) {
    SendDlgItemMessageA(colors, IDC_IMG_COLOR_GRID, CCM_SETINDEX, 7, 0);
    save_screenshot(colors, "image-color-16");
    press_ok(colors);
  });
  ASSERT_EQ(run(E_FRAME, script), 2);
  HGLOBAL after = image_of(w);
  BITMAPINFOHEADER *bi;
  RGBQUAD *t;
  BYTE *bits;
  ASSERT_TRUE(ZYN_DIB_LockPtrs(after, &bi, &t, &bits));
  EXPECT_EQ(bi->biWidth, 23);
  EXPECT_EQ(bits[0] >> 4, 7) << "the margin holds index 7";
  GlobalUnlock(after);
  forget_changes(w);
}
