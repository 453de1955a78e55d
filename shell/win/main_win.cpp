// Program entry of lumacast.
#include "shell_win.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR command_line, int show) {
  static FrameState frame; // lives as long as the frame window
  GetCurrentDirectoryA(sizeof g_shell.start_dir, g_shell.start_dir);
  if (!shell_startup(inst, command_line, show, &frame)) {
    shell_catalogue_free();
    return 0;
  }
  shell_message_loop();
  shell_end_of_run();
  return 0;
}
