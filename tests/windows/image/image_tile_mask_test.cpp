// Tile and Mask from the menu: the counts and their refusals, the shapes
// played by GDI against the portable player, the switches of a 32-bit
// image, and the temporary shape files, which never outlive a choice.
#include <string.h>

#include "image_fixture.h"
#include "screenshot.h"
#include "zynlib.h"

namespace {

// The mask's temporary files ("dfh" and four hex digits, in %TEMP%).
int shape_files(void) {
  char dir[MAX_PATH], pattern[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  snprintf(pattern, sizeof pattern, "%sdfh*.tmp", dir);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do n++;
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return n;
}

void choose_shape(HWND d, int index) {
  HWND list = GetDlgItem(d, IDC_MSK_NAMES);
  SendMessageA(list, LB_SETCURSEL, (WPARAM)index, 0);
  SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_MSK_NAMES, LBN_SELCHANGE), (LPARAM)list);
}

// Pixels where two same-sized DIBs differ.
int differing(HGLOBAL a, HGLOBAL b) {
  BITMAPINFOHEADER *ha, *hb;
  RGBQUAD *t;
  BYTE *pa, *pb;
  ZYN_DIB_LockPtrs(a, &ha, &t, &pa);
  ZYN_DIB_LockPtrs(b, &hb, &t, &pb);
  int n = 0, px = ha->biBitCount / 8;
  DWORD stride = (DWORD)((ha->biWidth * ha->biBitCount + 31) / 32 * 4);
  for (LONG y = 0; y < ha->biHeight; y++)
    for (LONG x = 0; x < ha->biWidth; x++)
      if (memcmp(pa + y * stride + x * px, pb + y * stride + x * px, px)) n++;
  GlobalUnlock(a);
  GlobalUnlock(b);
  return n;
}

}  // namespace

TEST_F(ImageTest, TileRepeatsAndMirrorsAndRefusesBadCounts) {
  bind_host();
  HWND w = open_picture(picture(21, 13, 4));
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_EQ(window_text(d), "Tile Image");
    expect_polished(d);
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "1");
    set_text(d, IDC_IMG_WIDTH, "0");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    set_text(d, IDC_IMG_WIDTH, "3");
    set_text(d, IDC_IMG_HEIGHT, "");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Tile: Illegal width value", "Tile: Illegal height value"}));
    set_text(d, IDC_IMG_HEIGHT, "2");
    CheckDlgButton(d, IDC_TIL_MIRROR, BST_CHECKED);
    save_screenshot(d, "image-tile");
    press_ok(d);
  });
  ASSERT_EQ(run(E_TILE, script), 1);
  HGLOBAL expected = NULL;
  ImgTileParams tile = {3, 2, 1};
  ASSERT_EQ(img_tile(before, &tile, &expected), IMG_OK);
  EXPECT_TRUE(same_pixels(image_of(w), expected));
  GlobalFree(expected);
  undo();
  EXPECT_EQ(image_of(w), before);
  script.then([](HWND d) {
    EXPECT_EQ(text_of(d, IDC_IMG_WIDTH), "1") << "the counts start at 1 every time";
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_TIL_MIRROR)) << "the mirror is remembered";
    press_ok(d);
  });
  ASSERT_EQ(run(E_TILE, script), 1);
  EXPECT_EQ(image_of(w), before) << "1 x 1 changes nothing";
  forget_changes(w);

  boxes().texts.clear();
  HWND wide = open_picture(picture(20000, 2, 24));
  script.then([](HWND d) {
    set_text(d, IDC_IMG_WIDTH, "2");
    press_ok(d);
  });
  ASSERT_EQ(run(E_TILE, script), 1);
  EXPECT_EQ(boxes().texts, (std::vector<std::string>{"Tile: Dimensions too large, cannot create new image"}));
  forget_changes(wide);
}

TEST_F(ImageTest, MaskPaintsAroundTheShapeAndLeavesNoFiles) {
  bind_host();
  HWND w = open_picture(picture(96, 96, 24));
  HGLOBAL before = image_of(w);
  int files = shape_files();
  DialogScript script;
  script.then([files](HWND d) {
    EXPECT_EQ(window_text(d), "Mask Image");
    expect_polished(d);
    HWND list = GetDlgItem(d, IDC_MSK_NAMES);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), IMG_MASK_SHAPES);
    char name[32] = "";
    SendMessageA(list, LB_GETTEXT, 16, (LPARAM)name);
    EXPECT_STREQ(name, "Up Arrow");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "Checkers, the stored choice";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_IMG_ALPHA)));
    EXPECT_FALSE(IsDlgButtonChecked(d, IDC_IMG_ALPHA)) << "off for images below 32 bits";
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_IMG_COLOR_CHANNELS)) << "on for images below 32 bits";
    EXPECT_EQ(shape_files(), files + 1);
    for (int shape : {5, 9, 1}) {
      choose_shape(d, shape);
      EXPECT_EQ(shape_files(), files + 1) << "each choice deletes the last one's file";
    }
    save_screenshot(d, "image-mask");
    press_ok(d);
  });
  ASSERT_EQ(run(E_MASK, script), 1);
  EXPECT_EQ(shape_files(), files) << "applied and deleted";
  HGLOBAL after = image_of(w);
  ASSERT_NE(after, before);
  // GDI's circle against our own player's: the same but for the rim.
  HGLOBAL coverage = NULL, portable = NULL;
  ASSERT_EQ(img_mask_shape_coverage(IMG_MASK_FIRST_SHAPE + 1, 96, 96, &coverage), IMG_OK);
  ImgMaskParams params = {0, 1, 1, {0, 192, 192, 192}};
  ASSERT_EQ(img_mask(before, coverage, &params, &portable), IMG_OK);
  EXPECT_LT(differing(after, portable), 96 * 4) << "a few rim pixels at most";
  EXPECT_GT(differing(after, before), 96 * 96 / 8) << "the corners are painted";
  GlobalFree(coverage);
  GlobalFree(portable);
  undo();
  forget_changes(w);

  // Cancel after several choices leaves no file and no change.
  script.then([files](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_MSK_NAMES, LB_GETCURSEL, 0, 0), 1) << "Circle is remembered";
    choose_shape(d, 14);
    choose_shape(d, 3);
    EXPECT_EQ(shape_files(), files + 1);
    press(d, IDCANCEL);
  });
  ASSERT_EQ(run(E_MASK, script), 1);
  EXPECT_EQ(shape_files(), files);
  EXPECT_EQ(image_of(w), before);

  // No shape chosen: OK changes nothing.
  script.then([files](HWND d) {
    SendDlgItemMessageA(d, IDC_MSK_NAMES, LB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_MSK_NAMES, LBN_SELCHANGE), 0);
    EXPECT_EQ(shape_files(), files);
    press_ok(d);
  });
  ASSERT_EQ(run(E_MASK, script), 1);
  EXPECT_EQ(image_of(w), before);
  EXPECT_TRUE(boxes().texts.empty());
}

TEST_F(ImageTest, MaskOfA32BitImageMarksTheAlphaAsAsked) {
  bind_host();
  HWND w = open_picture(picture(64, 64, 32));
  HGLOBAL before = image_of(w);
  DialogScript script;
  script.then([](HWND d) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_IMG_ALPHA)));
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_IMG_ALPHA)) << "the stored switches";
    EXPECT_TRUE(IsDlgButtonChecked(d, IDC_IMG_COLOR_CHANNELS));
    choose_shape(d, 6);  // Diamond
    CheckDlgButton(d, IDC_IMG_COLOR_CHANNELS, BST_UNCHECKED);
    CheckDlgButton(d, IDC_IMG_INVERT, BST_CHECKED);
    press_ok(d);
  });
  ASSERT_EQ(run(E_MASK, script), 1);
  BITMAPINFOHEADER *ha, *hb;
  RGBQUAD *t;
  BYTE *pa, *pb;
  ASSERT_TRUE(ZYN_DIB_LockPtrs(image_of(w), &ha, &t, &pa));
  ASSERT_TRUE(ZYN_DIB_LockPtrs(before, &hb, &t, &pb));
  const BYTE *centre = pa + 32 * 256 + 32 * 4, *corner = pa;
  EXPECT_EQ(centre[3], 255) << "inverted: the inside is masked, its alpha set";
  EXPECT_EQ(memcmp(centre, pb + 32 * 256 + 32 * 4, 3), 0) << "the colors kept";
  EXPECT_EQ(memcmp(corner, pb, 4), 0) << "the corner untouched";
  GlobalUnlock(image_of(w));
  GlobalUnlock(before);
  forget_changes(w);
}
