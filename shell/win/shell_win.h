/* The Windows shell of lumacast: process-wide state, the frame window and
   the start-up and shut-down steps that the program entry strings together.
   Everything here runs on the one user-interface thread. */
#ifndef LUMACAST_SHELL_WIN_H
#define LUMACAST_SHELL_WIN_H

#include <windows.h>

#define LC_FRAME_CLASS "FrameClass"
#define LC_IMAGE_CLASS "GenericWClass"
#define LC_FRAME_TITLE "Lumacast"
#define LC_PRODUCT_NAME "Lumacast"

/* Image windows keep two pointer-sized slots: the image record and the
   undo record (four bytes each in the 32-bit build). */
#define LC_IMAGE_SLOTS 2
#define LC_IMAGE_EXTRA_BYTES (LC_IMAGE_SLOTS * (int)sizeof(LONG_PTR))

/* Private message that asks an image window whether it may be closed;
   a non-zero answer refuses. */
#define LC_WM_QUERYCLOSE (WM_USER + 0x200)

/* Popups of the menu bar, in their order at creation. */
enum FramePopup {
  POPUP_FILE,
  POPUP_EDIT,
  POPUP_CAPTURE,
  POPUP_COLORS,
  POPUP_WINDOW,
  POPUP_HELP,
  POPUP_COUNT
};

/* The depth submenus of Colors sit at positions 3 to 8. */
#define COLORS_SUBMENU_FIRST 3
#define COLORS_SUBMENU_COUNT 6

/* State of one frame window, owned by whoever creates the frame and bound
   to the window in WM_NCCREATE. */
struct FrameState {
  HWND frame;
  HWND client;
  HMENU popup[POPUP_COUNT];
  HMENU colors_sub[COLORS_SUBMENU_COUNT]; /* Monochrome ... 32-Bit Color */
  BOOL relaying_palette;                  /* guards the palette relay */
};

/* Process-wide state of the running program. */
struct ShellGlobals {
  HINSTANCE inst;
  HWND frame;
  HWND client;
  HWND active; /* active image window, null when none */
  HACCEL accel;
  char own_dir[MAX_PATH]; /* the program's directory, for help and host message 67 */
  DWORD batch_count;    /* files converted by the current batch run */
  BOOL catalogue_ready; /* registered and not yet freed */
};
extern ShellGlobals g_shell;

/* classes_win.cpp: registers FrameClass and GenericWClass.  A class that is
   already registered in this process counts as registered. */
BOOL shell_register_classes(HINSTANCE inst);

/* frame_win.cpp */
HWND frame_create(HINSTANCE inst, FrameState *state); /* hidden; null on failure */
FrameState *frame_state(HWND frame);
LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

/* frame_commands_win.cpp: WM_COMMAND; *handled is FALSE for commands that
   belong to the default frame procedure (the MDI window list among them). */
LRESULT frame_command(FrameState *st, UINT id, BOOL *handled);
BOOL frame_all_agree_to_close(FrameState *st);

/* frame_host_win.cpp: host messages LC_HM_BASE + n (n = 0 to 77). */
#define LC_HM_BASE 0x1634
BOOL frame_is_host_message(UINT msg);
LRESULT frame_host_message(FrameState *st, UINT n, WPARAM wp, LPARAM lp, BOOL *handled);

/* frame_menu_win.cpp: enabling of a popup that is about to open. */
void frame_menu_enable(FrameState *st, HMENU popup);

/* engine_link_win.cpp: the engine's catalogue, host messages and batch
   state, or stand-ins while the engine is not linked in. */
BOOL shell_engine_linked(void);
BOOL shell_catalogue_register(void);
void shell_catalogue_free(void);
/* The catalogue indexes of the current load and save formats; FALSE when
   the catalogue is not registered.  Freeing the catalogue forgets them. */
BOOL shell_catalogue_current_formats(LONG *load, LONG *save);
/* Start-up: the stored indexes, or the DIB entry where one is unusable. */
void shell_catalogue_restore_formats(LONG load, LONG save);
struct HostParamBlock;
BOOL shell_engine_host_message(UINT msg, HostParamBlock *block, LRESULT *result);
BOOL shell_batch_running(void);
void shell_batch_set_running(BOOL on);
void shell_batch_set_cancel(BOOL on);

/* settings_store_win.cpp: the settings array kept in the registry (zynlib's
   settings store).  Load reads every value (defaults where missing); store
   writes the changed ones. */
void shell_settings_use_registry(void);
void shell_settings_load(void);
void shell_settings_store(void);

/* app_win.cpp: start-up, message loop and end-of-run store. */
BOOL shell_startup(HINSTANCE inst, int show, FrameState *state);
int shell_message_loop(void);
void shell_end_of_run(void);

#endif
