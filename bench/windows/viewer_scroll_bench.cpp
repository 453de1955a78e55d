// The cost of a scroll step on a large image against a full conversion of
// it: the frame and an image window in this process, the file given
// opened, then SB_LINEDOWN steps (each moves the window's pixels and
// paints the strip that comes into view) timed against making the
// window's screen bitmap again from the whole image.
// usage: viewer_scroll_bench.exe big.bmp [steps]
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "core/catalogue.h"
#include "shell/settings/settings.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

double now_ms() {
  static LARGE_INTEGER f;
  if (!f.QuadPart) QueryPerformanceFrequency(&f);
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart * 1000.0 / f.QuadPart;
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: viewer_scroll_bench big.bmp [steps]\n");
    return 2;
  }
  int steps = argc > 2 ? atoi(argv[2]) : 200;
  g_shell.inst = GetModuleHandleA(NULL);
  shell_read_screen();
  settings_reset_defaults();
  static FrameState st;
  if (!shell_register_classes(g_shell.inst) || !shell_catalogue_register()) return 1;
  HWND frame = frame_create(g_shell.inst, &st);
  if (!frame) return 1;
  g_shell.frame = frame;
  g_shell.client = st.client;
  ShowWindow(frame, SW_SHOWMAXIMIZED);
  pump();
  catalogue_set_current_load(detect_format(argv[1]));
  HWND w = image_window_create(argv[1], FALSE);
  if (!w) return 1;
  ShowWindow(w, SW_SHOWMAXIMIZED);
  UpdateWindow(w);
  pump();
  double t0 = now_ms();
  HBITMAP bm = image_screen_bitmap(w);
  double first = now_ms() - t0;
  HGLOBAL image = image_of(w);
  t0 = now_ms();
  HBITMAP again = ZYN_DIB_BitmapFromDIB(image, NULL, 0, 1, 3);
  double full = now_ms() - t0;
  DeleteObject(again);
  t0 = now_ms();
  for (int i = 0; i < steps; i++) {
    SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(w);
  }
  GdiFlush();
  double per_step = (now_ms() - t0) / steps;
  printf("Scrolling a large image (%s)\n", bm ? "screen bitmap" : "from the image");
  printf("  screen bitmap made once after the first paint  %8.2f ms\n", first);
  printf("  a full conversion of the image                 %8.2f ms\n", full);
  printf("  one scroll step (10 pixels), %d steps          %8.3f ms\n", steps, per_step);
  printf("  a step costs %.1f%% of a full conversion\n", 100.0 * per_step / (full > 0 ? full : 1));
  DestroyWindow(frame);
  return 0;
}
