// Start-up, the message loop and the end-of-run store of the program.
#include <string.h>

#include "resource.h"
#include "shell/settings/settings.h"
#include "shell_win.h"

ShellGlobals g_shell;

namespace {

// The program's own directory: help files and the plug-in host live there.
void note_own_dir(HINSTANCE inst) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(inst, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  char *slash = strrchr(path, '\\');
  if (!slash) return;
  *slash = '\0';
  lstrcpynA(g_shell.own_dir, path, sizeof g_shell.own_dir);
}

} // namespace

// Failures end the program without a message: there is nothing to show a
// message with yet.
BOOL shell_startup(HINSTANCE inst, int show, FrameState *state) {
  g_shell.inst = inst;
  if (!shell_register_classes(inst)) return FALSE;
  if (!shell_catalogue_register()) return FALSE;
  shell_settings_load();
  HWND frame = frame_create(inst, state);
  if (!frame) return FALSE;
  if (!state->client) {
    DestroyWindow(frame);
    return FALSE;
  }
  g_shell.frame = frame;
  g_shell.client = state->client;
  g_shell.accel = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_ACCEL));
  if (!g_shell.accel) {
    DestroyWindow(frame);
    return FALSE;
  }
  ShowWindow(frame, show);
  UpdateWindow(frame);
  note_own_dir(inst);
  shell_catalogue_restore_formats(settings_read(SET_LOAD_PROC), settings_read(SET_SAVE_PROC));
  return TRUE;
}

// Accelerators go to the frame first, then the MDI system-menu keys
// (Ctrl+F4, Ctrl+F6) to the client; everything else is dispatched.
int shell_message_loop(void) {
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (g_shell.frame && TranslateAcceleratorA(g_shell.frame, g_shell.accel, &msg)) continue;
    if (g_shell.client && TranslateMDISysAccel(g_shell.client, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return (int)msg.wParam;
}

// Runs when the loop ends and when Windows shuts down; safe to run twice.
// The current formats are taken before the catalogue goes: freeing it
// forgets them.
void shell_end_of_run(void) {
  LONG load, save;
  BOOL formats = shell_catalogue_current_formats(&load, &save);
  shell_catalogue_free();
  if (formats) {
    settings_write(SET_LOAD_PROC, load);
    settings_mark_changed(SET_LOAD_PROC, 1);
    settings_write(SET_SAVE_PROC, save);
    settings_mark_changed(SET_SAVE_PROC, 1);
  }
  shell_settings_store();
}
