// Making image windows: new and empty, opened through the Open dialog,
// loaded from a named file, or around an image already in memory.
#include <string.h>

#include "core/catalogue.h"
#include "core/messages.h"
#include "core/pipeline.h"
#include "lumacast_strings.h"
#include "shell_win.h"

namespace {

BOOL g_exhausted;

// Two inches square at the screen's resolution.
HWND mdi_create(const char *title, HGLOBAL image) {
  CreationRecord cr = {CREATE_NORMAL, (ULONG_PTR)image};
  MDICREATESTRUCTA mcs = {};
  mcs.szClass = LC_IMAGE_CLASS;
  mcs.szTitle = title;
  mcs.hOwner = g_shell.inst;
  mcs.x = mcs.y = CW_USEDEFAULT;
  mcs.cx = 2 * (g_shell.screen.logical_dpi_x ? g_shell.screen.logical_dpi_x : 96);
  mcs.cy = 2 * (g_shell.screen.logical_dpi_y ? g_shell.screen.logical_dpi_y : 96);
  mcs.lParam = (LPARAM)&cr;
  HWND w = g_shell.client ? (HWND)SendMessageA(g_shell.client, WM_MDICREATE, 0, (LPARAM)&mcs) : NULL;
  g_exhausted = w == NULL;
  if (!w) lc_message(MSG_ERROR, IDS_NO_NEW_WINDOWS);
  return w;
}

// The window of a loaded file takes the format it was loaded with: the one
// detected when "all files" was chosen.
void record_loaded_format(HWND w, const char *path) {
  int format = catalogue_current_load();
  if (format == catalogue_wildcard_index()) format = catalogue_detected_format();
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  record_change_flags(r, IRF_NEW, 0);
  record_set(r, IR_FORMAT, format >= 0 ? (ULONG_PTR)(DWORD)format : IR_NO_FORMAT);
  imagehost_notify_load(w, path);
}

HWND create_new(void) {
  char base[32], title[48];
  if (LoadStringA(g_shell.inst, IDS_NEW_IMAGE_TITLE, base, sizeof base) <= 0) lstrcpyA(base, "Image");
  new_window_title(base, ++g_shell.new_count, title, sizeof title);
  return mdi_create(title, NULL);
}

} // namespace

BOOL image_windows_exhausted(void) { return g_exhausted; }

HWND image_window_create(const char *name, BOOL is_new) {
  g_exhausted = FALSE;
  if (is_new) return create_new();
  char path[LC_PATH_MAX];
  if (!name) {
    if (!open_dialog_run(g_shell.frame, path, sizeof path)) return NULL;
  } else if (strlen(name) >= sizeof path) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    return NULL;
  } else {
    lstrcpyA(path, name);
  }
  char title[LC_PATH_MAX];
  lstrcpyA(title, path); // the loader may change its copy of the path
  HGLOBAL image = NULL;
  if (!LoadFile(path, &image)) return NULL;
  HWND w = mdi_create(title, image);
  if (!w) {
    GlobalFree(image);
    return NULL;
  }
  record_loaded_format(w, title);
  return w;
}

HWND image_window_create_with(HGLOBAL image, const char *title) {
  g_exhausted = FALSE;
  HWND w = mdi_create(title, image);
  if (!w) GlobalFree(image);
  return w;
}
