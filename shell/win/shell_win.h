/* The Windows shell of lumacast: process-wide state and the calls between
   its parts (start-up, frame, image windows, file dialogs).  Everything
   here runs on the one user-interface thread. */
#ifndef LUMACAST_SHELL_WIN_H
#define LUMACAST_SHELL_WIN_H

#include <windows.h>
#include <shellapi.h>

#include "shell/imagewin/record.h"

#define LC_FRAME_CLASS "FrameClass"
#define LC_IMAGE_CLASS "GenericWClass"
#define LC_ABOUT_CLASS "AboutClass"
#define LC_FRAME_TITLE "Lumacast"
#define LC_PRODUCT_NAME "Lumacast"

/* Image windows keep two pointer-sized slots: the image record and the
   undo record (four bytes each in the 32-bit build). */
#define LC_IMAGE_SLOTS 2
#define LC_IMAGE_EXTRA_BYTES (LC_IMAGE_SLOTS * (int)sizeof(LONG_PTR))
#define IMAGE_SLOT_RECORD 0
#define IMAGE_SLOT_UNDO 1

/* Private message that asks an image window whether it may be closed;
   a non-zero answer refuses. */
#define LC_WM_QUERYCLOSE (WM_USER + 0x200)

/* The longest path the shell handles, with its NUL. */
#define LC_PATH_MAX MAX_PATH

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

/* The screen, read once at start. */
struct ScreenInfo {
  int bits_per_pixel, planes;
  int width, height; /* horizontal and vertical resolution in pixels */
  int depth;         /* bits per pixel times planes */
  int logical_dpi_x, logical_dpi_y;
};

/* Process-wide state of the running program. */
struct ShellGlobals {
  HINSTANCE inst;
  HWND frame;
  HWND client;
  HWND active; /* active image window, null when none */
  HACCEL accel;
  ScreenInfo screen;
  char start_dir[LC_PATH_MAX]; /* working directory at start, restored after start-up */
  char own_dir[LC_PATH_MAX];   /* the program's directory, for help and host message 67 */
  char own_file[LC_PATH_MAX];  /* the program's file name, for system information */
  char serif_face[32], sans_face[32], dialog_face[32];
  BYTE charset;
  BOOL catalogue_ready; /* registered and not yet freed */
  BOOL is_win95;        /* the platform is neither Win32s nor NT */
  unsigned new_count;   /* windows made by New so far */
  HCURSOR wait_cursor;
};
extern ShellGlobals g_shell;

/* ---- win/ -------------------------------------------------------------- */

/* classes_win.cpp: registers FrameClass, GenericWClass and AboutClass.  A
   class that is already registered in this process counts as registered. */
BOOL shell_register_classes(HINSTANCE inst);

/* settings_store_win.cpp: the settings array kept in the registry (zynlib's
   settings store).  Load reads every value (defaults where missing); store
   writes the changed ones. */
void shell_settings_use_registry(void);
void shell_settings_load(void);
void shell_settings_store(void);

/* ---- startup/ ---------------------------------------------------------- */

/* startup_win.cpp: start-up, message loop and end-of-run store. */
BOOL shell_startup(HINSTANCE inst, LPSTR command_line, int show, FrameState *state);
int shell_message_loop(void);
void shell_end_of_run(void);
BOOL shell_catalogue_register(void);
void shell_catalogue_free(void);
void shell_read_screen(void);

/* one_copy_win.cpp: the running copy's frame, or null. */
HWND shell_find_running_copy(void);
/* Hands path to the running frame; FALSE after a message.  Never waits
   forever on a copy that does not answer. */
BOOL shell_hand_over(HWND running, const char *path);
/* The receiving side of host message 31 without a block. */
LRESULT shell_receive_hand_over(void);

/* logo_win.cpp: the logo and about window. */
HWND logo_create(HWND owner);
/* Waits, answering messages, until the logo is dismissed or delay ms
   passed, then takes it down. */
void logo_wait(HWND logo, DWORD delay_ms);
void about_show(HWND owner);
LRESULT CALLBACK about_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

/* imagehost_win.cpp: the plug-in host library, bound by name. */
void imagehost_bind(HWND frame, HWND client, BOOL defer);
void imagehost_finish(void);
/* Tests bind another file in its place; null restores the name. */
void imagehost_set_library(const char *name);
/* Frees it once, after the last call; later calls all yield 0. */
void imagehost_unbind(void);
BOOL imagehost_bound(void);
/* TRUE when the host consumed the message; *result is then the answer. */
BOOL imagehost_frame_message(HWND frame, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result);
BOOL imagehost_image_message(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result);
void imagehost_notify_change(HWND w);
void imagehost_notify_delete(HWND w, HGLOBAL image);
void imagehost_notify_rename(HWND w, const char *name);
void imagehost_notify_load(HWND w, const char *path);
void imagehost_notify_save(HWND w, const char *path);
int imagehost_count_plugins(void);
HMODULE imagehost_plugin_handle(int index);

/* filetypes_win.cpp */
void shell_register_file_types(void);

/* ---- frame/ ------------------------------------------------------------ */

/* frame_win.cpp */
HWND frame_create(HINSTANCE inst, FrameState *state); /* hidden; null on failure */
FrameState *frame_state(HWND frame);
LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

/* frame_commands_win.cpp: WM_COMMAND; *handled is FALSE for commands that
   belong to the default frame procedure (the MDI window list among them). */
LRESULT frame_command(FrameState *st, UINT id, BOOL *handled);
BOOL frame_all_agree_to_close(FrameState *st);
/* Destroys every image window (frame shut-down), each asking nothing. */
void frame_destroy_image_windows(FrameState *st);

/* frame_host_win.cpp: host messages HM_BASE + n (n = 0 to 77). */
#define LC_HM_BASE 0x1634
BOOL frame_is_host_message(UINT msg);
LRESULT frame_host_message(FrameState *st, UINT n, WPARAM wp, LPARAM lp, BOOL *handled);

/* frame_menu_win.cpp: enabling of a popup that is about to open. */
void frame_menu_enable(FrameState *st, HMENU popup);

/* frame_drop_win.cpp: WM_DROPFILES. */
void frame_drop_files(HDROP drop);

/* ---- imagewin/ --------------------------------------------------------- */

/* The image window procedure (imagewin_proc_win.cpp). */
LRESULT CALLBACK image_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

/* Creation record passed with the MDI creation request. */
#pragma pack(push, 1)
struct CreationRecord {
  WORD kind; /* 1 normal, 2 no record */
  ULONG_PTR image;
};
#pragma pack(pop)
#define CREATE_NORMAL 1
#define CREATE_BARE 2

/* imagewin_create_win.cpp: a new window.  name null and is_new FALSE
   shows the Open dialog; is_new makes an empty "Image<n>"; otherwise the
   named file is loaded with the current load format.  Null after a
   message (or on Cancel). */
HWND image_window_create(const char *name, BOOL is_new);
/* A window for an image already in memory (titled title); null after a
   message, the image then freed. */
HWND image_window_create_with(HGLOBAL image, const char *title);
BOOL is_image_window(HWND w);
/* TRUE when the last creation failed because no window could be made. */
BOOL image_windows_exhausted(void);

/* imagewin_record_win.cpp: the record of slot 0 or 1, or null. */
ImageRecord *image_record(HWND w, int slot);
void image_record_set_slot(HWND w, int slot, ImageRecord *r);
ImageRecord *image_record_new(void);
/* Frees the contents (handles) of a record, then the record. */
void image_record_destroy(HWND w, ImageRecord *r);
void image_record_free_contents(HWND w, ImageRecord *r);
/* Gives the window a fresh, empty record (host message 55). */
void image_window_reset_record(HWND w);
DWORD image_flags(HWND w);
HGLOBAL image_of(HWND w);

/* imagewin_install_win.cpp */
void image_install(HWND w, HGLOBAL image); /* as a change: undo kept by the setting */
void image_set_without_undo(HWND w, HGLOBAL image);
void image_install_quiet(HWND w, HGLOBAL image); /* host message 10 */
void image_drop_undo(HWND w);
HGLOBAL image_copy_of(HWND w);
HBITMAP image_copy_bitmap(HWND w);
/* The screen bitmap, made now if it is still due; null when the setting
   wants none. */
HBITMAP image_screen_bitmap(HWND w);
/* Asks for the screen bitmap to be made once the window is idle (after
   an undo brings back a state whose bitmap was never made, say). */
void image_screen_bitmap_soon(HWND w);
/* WM_TIMER of an image window: TRUE when it was the screen bitmap's. */
BOOL image_screen_bitmap_timer(HWND w, UINT_PTR id);
HPALETTE image_copy_palette(HWND w);

/* edit/undo_win.cpp: the two records change places; FALSE when there is
   no undo state. */
BOOL image_undo(HWND w);

/* imagewin_view_win.cpp: size, scroll bars, palette. */
void image_fit_window(HWND w, HGLOBAL image);
void image_update_scroll_bars(HWND w);
BOOL image_realize_foreground(HWND w);
void image_realize_background(HWND w);
void image_paint(HWND w);
/* bar SB_HORZ or SB_VERT, code a scroll-bar code */
void image_scroll(HWND w, int bar, int code);
BOOL image_scroll_key(HWND w, UINT vk);

/* imagewin_save_win.cpp */
BOOL image_save(HWND w);
BOOL image_save_as(HWND w);
BOOL image_may_close(HWND w);

/* ---- filedlg/ ---------------------------------------------------------- */

/* open_dialog_win.cpp: the Open dialog for the current load format; the
   chosen type becomes the current load format.  FALSE on Cancel. */
BOOL open_dialog_run(HWND owner, char *path, size_t size);

/* save_dialog_win.cpp: the Save dialog with the save-options panel. */
struct SaveDialogRequest {
  char path[LC_PATH_MAX]; /* in: the starting name; out: the chosen one */
  WORD options;           /* in: the starting word (0: no preset); out */
  int format;             /* in: starting catalogue index; out: chosen */
};
BOOL save_dialog_run(HWND owner, SaveDialogRequest *req);

/* load_panel_win.cpp: the "Loading..." panel drawn while a file loads. */
void load_panel_window_install(void);

/* The wait cursor around a long command. */
HCURSOR wait_begin(void);
void wait_end(HCURSOR saved);

#endif
