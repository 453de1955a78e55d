// Start-up of the program in its fixed order, the message loop and the
// end-of-run store.
#include <string.h>

#include "codecs/ico/ico_dialog_win.h"
#include "core/catalogue.h"
#include "core/color_ops.h"
#include "core/files.h"
#include "core/host_messages.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "resource.h"
#include "shell/settings/settings.h"
#include "shell/startup/command_line.h"
#include "shell_win.h"
#include "zynlib.h"

ShellGlobals g_shell;

namespace {

CommandLine g_command;

void directory_of_module(HINSTANCE inst) {
  char path[LC_PATH_MAX];
  DWORD n = GetModuleFileNameA(inst, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  char *slash = strrchr(path, '\\');
  if (!slash) return;
  lstrcpynA(g_shell.own_file, slash + 1, sizeof g_shell.own_file);
  *slash = '\0';
  lstrcpynA(g_shell.own_dir, path, sizeof g_shell.own_dir);
}

// Face names: newer systems have the TrueType faces; the string table
// may name others (and a character set) for a localised build.
void choose_faces(void) {
  lstrcpyA(g_shell.serif_face, "Tms Rmn");
  lstrcpyA(g_shell.sans_face, "Helv");
  lstrcpyA(g_shell.dialog_face, "MS Sans Serif");
  DWORD v = GetVersion();
  WORD swapped = (WORD)(((v & 0xFF) << 8) | ((v >> 8) & 0xFF));
  if (swapped > 0x0300) {
    lstrcpyA(g_shell.serif_face, "Times New Roman");
    lstrcpyA(g_shell.sans_face, "Arial");
  }
  char text[32];
  if (LoadStringA(g_shell.inst, 1350, text, sizeof text) > 0) lstrcpyA(g_shell.serif_face, text);
  if (LoadStringA(g_shell.inst, 1351, text, sizeof text) > 0) lstrcpyA(g_shell.sans_face, text);
  if (LoadStringA(g_shell.inst, 1369, text, sizeof text) > 0) lstrcpyA(g_shell.dialog_face, text);
  g_shell.charset = ANSI_CHARSET;
  if (LoadStringA(g_shell.inst, 1352, text, sizeof text) > 0) {
    if (!lstrcmpA(text, "SYMBOL")) g_shell.charset = SYMBOL_CHARSET;
    else if (!lstrcmpA(text, "SHIFTJIS")) g_shell.charset = SHIFTJIS_CHARSET;
    else if (!lstrcmpA(text, "OEM")) g_shell.charset = OEM_CHARSET;
  }
}

// A second copy hands its file over, or says that one copy is enough.
// FALSE: this copy must end.
BOOL one_copy_rule(const CommandLine *cl) {
  HWND running = shell_find_running_copy();
  if (!running) return TRUE;
  if (!cl->file) {
    lc_message(MSG_ERROR, IDS_ONLY_ONE_COPY);
    return FALSE;
  }
  shell_hand_over(running, cl->file);
  return FALSE;
}

BOOL create_frame(FrameState *state, int show) {
  HWND frame = frame_create(g_shell.inst, state);
  if (!frame) return FALSE;
  if (!state->client) {
    DestroyWindow(frame);
    return FALSE;
  }
  g_shell.frame = frame;
  g_shell.client = state->client;
  g_shell.accel = LoadAcceleratorsA(g_shell.inst, MAKEINTRESOURCEA(IDR_ACCEL));
  if (!g_shell.accel) {
    DestroyWindow(frame);
    return FALSE;
  }
  ShowWindow(frame, show);
  UpdateWindow(frame);
  return TRUE;
}

// An empty name does nothing, a missing file says so, an unknown format
// is ignored.  The window is titled with the file's full path.
void open_command_line_file(const char *name) {
  if (!name || !*name) return;
  if (strlen(name) >= LC_PATH_MAX) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    return;
  }
  char path[LC_PATH_MAX];
  if (!lc_full_path(name, path, sizeof path)) {
    lc_message(MSG_ERROR, IDS_LOAD_NOT_FOUND);
    return;
  }
  int index = detect_format(path);
  if (index < 0) return;
  catalogue_set_current_load(index);
  image_window_create(path, FALSE);
}

// The engine's open and load messages reach the windows and the Open
// dialog through these.
int host_open_dialog(char *buffer, size_t size) { return open_dialog_run(g_shell.frame, buffer, size); }

HWND host_open_window(const char *path, int index) {
  catalogue_set_current_load(index);
  return image_window_create(path, FALSE);
}

void post_startup_command(int flags) {
  UINT cmd = startup_command(flags, settings_read(SET_STARTUP));
  if (cmd) PostMessageA(g_shell.frame, WM_COMMAND, cmd, 0);
}

} // namespace

void shell_read_screen(void) {
  HDC dc = GetDC(NULL);
  ScreenInfo &s = g_shell.screen;
  s.bits_per_pixel = GetDeviceCaps(dc, BITSPIXEL);
  s.planes = GetDeviceCaps(dc, PLANES);
  s.width = GetDeviceCaps(dc, HORZRES);
  s.height = GetDeviceCaps(dc, VERTRES);
  s.logical_dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
  s.logical_dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  s.depth = s.bits_per_pixel * s.planes;
  ReleaseDC(NULL, dc);
}

BOOL shell_catalogue_register(void) {
  if (g_shell.catalogue_ready) return TRUE;
  color_ops_install_builtin(); // the colour reductions and luminance tables
  ico_dialog_install();        // the icon codec asks through dialog 309
  load_panel_window_install();
  static const HostHooks hooks = {host_open_dialog, host_open_window};
  host_set_hooks(&hooks);
  g_shell.catalogue_ready = catalogue_register_builtins() != 0;
  return g_shell.catalogue_ready;
}

void shell_catalogue_free(void) {
  if (!g_shell.catalogue_ready) return;
  catalogue_free_all();
  g_shell.catalogue_ready = FALSE;
}

// Failures before the frame exists end the program without a message:
// there is nothing to show a message with yet.
BOOL shell_startup(HINSTANCE inst, LPSTR command_line, int show, FrameState *state) {
  g_shell.inst = inst;
  shell_read_screen();
  choose_faces();
  command_line_parse(command_line, &g_command);
  if (!one_copy_rule(&g_command)) return FALSE;
  if (!shell_register_classes(inst)) return FALSE;
  g_shell.wait_cursor = LoadCursorA(NULL, (LPCSTR)IDC_WAIT);
  int os = ZYN_MD_GetOS();
  g_shell.is_win95 = os != ZYN_OS_WIN32S && os != ZYN_OS_WINNT;
  if (!shell_catalogue_register()) return FALSE;
  shell_settings_load();
  if (!create_frame(state, show)) return FALSE;
  BOOL logo_shown = !(g_command.flags & CL_NOLOGO);
  HWND logo = logo_shown ? logo_create(g_shell.frame) : NULL;
  DWORD logo_start = GetTickCount();
  directory_of_module(inst);
  if (g_shell.own_dir[0]) SetCurrentDirectoryA(g_shell.own_dir);
  imagehost_bind(g_shell.frame, g_shell.client, logo_shown);
  shell_register_file_types();
  if (logo) {
    DWORD spent = GetTickCount() - logo_start, delay = logo_delay(&g_command);
    logo_wait(logo, delay > spent ? delay - spent : 0);
    imagehost_finish();
  }
  post_startup_command(g_command.flags);
  catalogue_restore_current(settings_read(SET_LOAD_PROC), settings_read(SET_SAVE_PROC));
  if (g_shell.start_dir[0]) SetCurrentDirectoryA(g_shell.start_dir);
  open_command_line_file(g_command.file);
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
  if (g_shell.catalogue_ready) {
    LONG load = catalogue_current_load(), save = catalogue_current_save();
    shell_catalogue_free();
    settings_write(SET_LOAD_PROC, load);
    settings_mark_changed(SET_LOAD_PROC, 1);
    settings_write(SET_SAVE_PROC, save);
    settings_mark_changed(SET_SAVE_PROC, 1);
  }
  shell_settings_store();
}

HCURSOR wait_begin(void) {
  return SetCursor(g_shell.wait_cursor ? g_shell.wait_cursor : LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
}

void wait_end(HCURSOR saved) { SetCursor(saved); }
