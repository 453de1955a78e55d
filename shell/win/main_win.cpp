// Program entry of lumacast.
#include "shell_win.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  static FrameState frame; // lives as long as the frame window
  if (!shell_startup(inst, show, &frame)) {
    shell_catalogue_free();
    return 0;
  }
  shell_message_loop();
  shell_end_of_run();
  return 0;
}
