// The Open dialog: the loadable formats of the catalogue as its type
// list, starting on the current load format, which the chosen type then
// becomes.
#include <windows.h>
#include <commdlg.h>

#include "core/catalogue.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/filedlg/filter_list.h"
#include "shell_win.h"

namespace {

UINT_PTR CALLBACK open_hook(HWND, UINT, WPARAM, LPARAM) { return 0; }

// Explorer style on every system this program runs on: the old-style
// dialog was only for systems that lacked it.
const DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_EXPLORER;

} // namespace

BOOL open_dialog_run(HWND owner, char *path, size_t size) {
  FilterList list = {};
  if (!filter_list_build(&list, 0)) {
    filter_list_free(&list);
    lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
    return FALSE;
  }
  path[0] = '\0';
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = g_shell.inst;
  ofn.lpstrFilter = list.text;
  ofn.nFilterIndex = (DWORD)catalogue_filter_position(0, catalogue_current_load());
  ofn.lpstrFile = path;
  ofn.nMaxFile = (DWORD)size;
  ofn.lpstrInitialDir = ".";
  ofn.Flags = kOpenFlags;
  ofn.lpfnHook = open_hook;
  BOOL ok = GetOpenFileNameA(&ofn);
  if (ok) {
    int index = filter_list_format(&list, ofn.nFilterIndex);
    if (index >= 0) catalogue_set_current_load(index);
  } else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
  }
  filter_list_free(&list);
  return ok;
}
