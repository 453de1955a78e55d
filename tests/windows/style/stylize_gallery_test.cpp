// All 39 filters through the menu and its dialog, each with the table's
// defaults, on one photo-like picture: each gives a new 24-bit image of the
// picture's size, the same bytes as style.dll called directly, and a tile
// of the gallery screenshot.
#include <vector>

#include "screenshot.h"
#include "style.h"
#include "stylize_fixture.h"
#include "zynlib.h"

namespace {

const int kTileW = 112, kTileH = 84, kColumns = 8, kGap = 6, kLabel = 16;

struct Gallery {
  std::vector<HGLOBAL> tiles; // the picture, then filter 0 to 38
  std::vector<std::string> names;
};
Gallery g_gallery;

void paint_gallery(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < g_gallery.tiles.size(); i++) {
    int x = kGap + (int)(i % kColumns) * (kTileW + kGap), y = kGap + (int)(i / kColumns) * (kTileH + kLabel + kGap);
    BITMAPINFO *bi = (BITMAPINFO *)GlobalLock(g_gallery.tiles[i]);
    SetDIBitsToDevice(dc, x, y, kTileW, kTileH, 0, 0, 0, kTileH, (BYTE *)bi + bi->bmiHeader.biSize, bi,
                      DIB_RGB_COLORS);
    GlobalUnlock(g_gallery.tiles[i]);
    RECT label = {x - 2, y + kTileH + 1, x + kTileW + 2, y + kTileH + kLabel};
    DrawTextA(dc, g_gallery.names[i].c_str(), -1, &label, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  SelectObject(dc, font);
  EndPaint(w, &ps);
}

LRESULT CALLBACK gallery_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    paint_gallery(w);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

HWND show_gallery(void) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = gallery_proc;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  wc.lpszClassName = "StylizeGalleryClass";
  RegisterClassA(&wc);
  int rows = ((int)g_gallery.tiles.size() + kColumns - 1) / kColumns;
  RECT r = {0, 0, kGap + kColumns * (kTileW + kGap), kGap + rows * (kTileH + kLabel + kGap)};
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
  AdjustWindowRect(&r, style, FALSE);
  HWND w = CreateWindowA(wc.lpszClassName, "Stylize: the 39 filters", style, 0, 0, r.right - r.left,
                         r.bottom - r.top, NULL, NULL, wc.hInstance, NULL);
  UpdateWindow(w);
  return w;
}

// "8 Lens Flare" for "*Lens Flare [XXX]".
std::string tile_name(int n, UINT name_id) {
  char name[64] = "";
  LoadStringA(GetModuleHandleA("style.dll"), name_id, name, sizeof name);
  std::string plain = name[0] == '*' ? name + 1 : name;
  size_t mark = plain.find(" [");
  return std::to_string(n) + " " + plain.substr(0, mark);
}

} // namespace

TEST_F(StylizeTest, EveryFilterRunsFromTheMenuIntoTheGallery) {
  bind_host();
  HWND w = open_photo(kTileW, kTileH);
  ASSERT_NE(w, nullptr);
  HGLOBAL picture = ZYN_DIB_Copy(image_of(w));
  g_gallery.tiles.push_back(ZYN_DIB_Copy(picture));
  g_gallery.names.push_back("Picture");
  for (int n = 0; n < STZ_FILTER_COUNT; n++) {
    SCOPED_TRACE(n);
    HGLOBAL before = image_of(w);
    DialogScript script;
    script.then([n](HWND d) {
      choose_filter(d, n);
      press_ok(d);
    });
    ASSERT_EQ(command(STZ_ID_FILTER, script), 1);
    HGLOBAL out = image_of(w);
    ASSERT_NE(out, before);
    BITMAPINFOHEADER bi;
    ASSERT_TRUE(ZYN_DIB_Info(out, &bi));
    EXPECT_EQ(bi.biBitCount, 24);
    EXPECT_EQ(bi.biWidth, kTileW);
    EXPECT_EQ(bi.biHeight, kTileH);
    StyFilterInfo info;
    ASSERT_TRUE(sty_filter_info(n, &info));
    StylizeChoice c = {n, STZ_FULL_AMOUNT, info.default1, info.default2, 0, RGB(255, 255, 255)};
    HGLOBAL direct = direct_filter(c, picture);
    EXPECT_TRUE(same_dib(out, direct)) << "the menu gives what the filter gives, every time";
    GlobalFree(direct);
    g_gallery.tiles.push_back(ZYN_DIB_Copy(out));
    g_gallery.names.push_back(tile_name(n, info.nameId));
    image_install_quiet(w, ZYN_DIB_Copy(picture));
  }
  EXPECT_TRUE(boxes().texts.empty());
  forget_changes(w);
  HWND gallery = show_gallery();
  save_screenshot(gallery, "stylize-gallery");
  DestroyWindow(gallery);
  for (HGLOBAL tile : g_gallery.tiles) GlobalFree(tile);
  g_gallery = Gallery();
  GlobalFree(picture);
}
