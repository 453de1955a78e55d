// Fitting a window to its image, the scroll bars it needs and the
// positions scrolling reaches.
#include <gtest/gtest.h>

#include "shell/imagewin/geometry.h"

namespace {

FitInput window_at(int x, int y, int imageW, int imageH) {
  FitInput in = {};
  in.availW = 800;
  in.availH = 600;
  in.winX = x;
  in.winY = y;
  in.winW = 200;
  in.winH = 200;
  in.clientW = 192; // 8 pixels of frame
  in.clientH = 170; // and 30 of caption
  in.hBarH = in.vBarW = 16;
  in.imageW = imageW;
  in.imageH = imageH;
  return in;
}

} // namespace

TEST(Fit, ASmallImageGetsExactlyItsSize) {
  FitInput in = window_at(10, 10, 300, 200);
  int w, h;
  fit_window_size(&in, &w, &h);
  EXPECT_EQ(w, 308);
  EXPECT_EQ(h, 230);
}

TEST(Fit, ShowingBarsDoNotCountAsOverhead) {
  FitInput in = window_at(10, 10, 300, 200);
  in.hBarShown = in.vBarShown = 1;
  in.clientW -= 16;
  in.clientH -= 16;
  int w, h;
  fit_window_size(&in, &w, &h);
  EXPECT_EQ(w, 308 + 1);
  EXPECT_EQ(h, 230 + 1);
}

TEST(Fit, ALargeImageStaysInsideTheAreaWithRoomForItsBars) {
  FitInput in = window_at(100, 50, 4000, 3000);
  int w, h;
  fit_window_size(&in, &w, &h);
  EXPECT_EQ(w, 700); // limited again after adding the bar
  EXPECT_EQ(h, 550);
  // Wide but short: only the horizontal bar, added below the image.
  in = window_at(0, 0, 4000, 100);
  fit_window_size(&in, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 100 + 30 + 15);
}

TEST(Fit, AWindowOutsideTheAreaKeepsItsFrame) {
  FitInput in = window_at(900, 700, 50, 50);
  int w, h;
  fit_window_size(&in, &w, &h);
  EXPECT_EQ(w, 9);
  EXPECT_EQ(h, 31);
}

TEST(Scroll, BarsSettleBothWaysAndReachTheLastPixel) {
  ScrollPlan p;
  scroll_plan(100, 100, 200, 200, 16, 16, &p); // fits
  EXPECT_FALSE(p.hShown);
  EXPECT_FALSE(p.vShown);
  EXPECT_EQ(p.hMax, 0);
  scroll_plan(300, 190, 200, 200, 16, 16, &p); // the horizontal bar makes the height short too
  EXPECT_TRUE(p.hShown);
  EXPECT_TRUE(p.vShown);
  EXPECT_EQ(p.visW, 184);
  EXPECT_EQ(p.visH, 184);
  EXPECT_EQ(p.hMax, 300 - 184);
  EXPECT_EQ(p.vMax, 190 - 184);
  scroll_plan(300, 150, 200, 200, 16, 16, &p);
  EXPECT_TRUE(p.hShown);
  EXPECT_FALSE(p.vShown);
  EXPECT_EQ(p.hMax, 100);
}

TEST(Scroll, CodesMoveWithinTheRange) {
  EXPECT_EQ(scroll_position(SCROLL_LINE_DOWN, 0, 0, 50, 100), 10);
  EXPECT_EQ(scroll_position(SCROLL_LINE_UP, 5, 0, 50, 100), 0);
  EXPECT_EQ(scroll_position(SCROLL_PAGE_DOWN, 60, 0, 50, 100), 100);
  EXPECT_EQ(scroll_position(SCROLL_PAGE_UP, 60, 0, 50, 100), 10);
  EXPECT_EQ(scroll_position(SCROLL_THUMB_POSITION, 0, 70000, 50, 90000), 70000);
  EXPECT_EQ(scroll_position(SCROLL_THUMB_TRACK, 30, 70, 50, 100), 30);
  EXPECT_EQ(scroll_position(SCROLL_BOTTOM, 30, 0, 50, 100), 100);
  EXPECT_EQ(scroll_position(SCROLL_PAGE_DOWN, 0x7FFFFFF0, 0, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

TEST(Scroll, KeysScrollOnlyAShowingBar) {
  int bar, code;
  EXPECT_TRUE(scroll_key(0x22, 0, 0, 1, &bar, &code)); // Page Down
  EXPECT_EQ(bar, SCROLL_BAR_V);
  EXPECT_EQ(code, SCROLL_PAGE_DOWN);
  EXPECT_TRUE(scroll_key(0x21, 1, 1, 1, &bar, &code)); // Shift+Page Up
  EXPECT_EQ(bar, SCROLL_BAR_H);
  EXPECT_EQ(code, SCROLL_PAGE_UP);
  EXPECT_FALSE(scroll_key(0x25, 0, 0, 1, &bar, &code)); // Left without a horizontal bar
  EXPECT_FALSE(scroll_key(0x24, 0, 1, 1, &bar, &code)); // Home does nothing
}
