// The Save dialog: the savable formats of the catalogue as its type list
// and, behind "Formats>>", the save-options panel whose depth, colour and
// compression buttons follow the chosen type's save capabilities (the
// rules are the pure save_panel_* functions).
#include <windows.h>
#include <commdlg.h>
#include <string.h>

#include "core/catalogue.h"
#include "core/messages.h"
#include "core/save_as.h"
#include "core/save_options.h"
#include "lumacast_strings.h"
#include "shell/filedlg/filter_list.h"
#include "shell/filedlg/save_panel_res.h"
#include "shell_win.h"

namespace {

struct SaveContext {
  SaveDialogRequest *req;
  FilterList list;
  SavePanelState panel;
  int format;
  int panel_px; // width the panel adds to the dialog
  BOOL widened;
  HWND hook;
  WNDPROC dialog_proc; // the dialog's own procedure, under ours
};

const char kContextProp[] = "LumacastSavePanel";

const WORD kButtons[] = {SO_1BIT, SO_4BIT, SO_8BIT, SO_16BIT, SO_24BIT, SO_32BIT, SO_COLOR, SO_GRAY, SO_COMPRESSED};
const UINT kLabels[] = {IDS_SAVE_MONOCHROME, IDS_SAVE_16_COLOR, IDS_SAVE_256_COLOR, IDS_SAVE_16_BIT, IDS_SAVE_24_BIT,
                        IDS_SAVE_32_BIT,     IDS_SAVE_COLOR,    IDS_SAVE_GRAY,      IDS_SAVE_COMPRESSED};

SaveContext *context_of(HWND hook) { return (SaveContext *)GetWindowLongPtrA(hook, GWLP_USERDATA); }

const BYTE *caps_of(int format) {
  static const BYTE none[LC_DEPTH_SLOTS] = {0};
  const FormatEntry *e = catalogue_entry(format);
  return e ? e->saveCaps : none;
}

void show_panel_state(HWND hook, const SavePanelState &s) {
  for (WORD bit : kButtons) {
    HWND b = GetDlgItem(hook, SO_CONTROL_ID(bit));
    EnableWindow(b, (s.enabled & bit) != 0);
    SendMessageA(b, BM_SETCHECK, (s.checked & bit) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void apply(HWND hook, SaveContext *c, int event, int slot) {
  save_panel_apply(&c->panel, caps_of(c->format), event, slot);
  show_panel_state(hook, c->panel);
}

void label_buttons(HWND hook) {
  for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; i++) {
    char text[64];
    if (LoadStringA(g_shell.inst, kLabels[i], text, sizeof text) > 0)
      SetDlgItemTextA(hook, SO_CONTROL_ID(kButtons[i]), text);
  }
}

HWND name_field(HWND dialog) {
  HWND f = GetDlgItem(dialog, cmb13);
  return f ? f : GetDlgItem(dialog, edt1);
}

// A new type rewrites the extension of a name that has one.
void rename_for_type(HWND dialog, int format) {
  HWND field = name_field(dialog);
  char name[LC_PATH_MAX], ext[LC_EXT_SIZE], renamed[LC_PATH_MAX];
  if (!field || !GetWindowTextA(field, name, sizeof name) || !strchr(name, '.')) return;
  if (!catalogue_extension(format, ext, sizeof ext)) return;
  if (save_name_replace_extension(name, ext, renamed, sizeof renamed)) SetWindowTextA(field, renamed);
}

void resize_dialog(HWND dialog, int delta) {
  RECT r;
  GetWindowRect(dialog, &r);
  int w = r.right - r.left + delta, x = r.left;
  int screen = GetSystemMetrics(SM_CXSCREEN);
  if (delta > 0 && x + w > screen) x = screen - w;
  if (x < 0) x = 0;
  SetWindowPos(dialog, NULL, x, r.top, w, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The panel starts hidden: the dialog is cut just left of its buttons.
void init_done(HWND hook, SaveContext *c) {
  HWND dialog = GetParent(hook);
  char label[32];
  if (LoadStringA(g_shell.inst, IDS_FORMATS_BUTTON, label, sizeof label) > 0)
    SetDlgItemTextA(dialog, pshHelp, label);
  RECT d, b;
  GetWindowRect(dialog, &d);
  GetWindowRect(GetDlgItem(hook, SO_CONTROL_ID(SO_1BIT)), &b);
  c->panel_px = d.right - b.left + 2;
  if (c->panel_px > 0 && c->panel_px < d.right - d.left) resize_dialog(dialog, -c->panel_px);
  else c->panel_px = 0;
}

void toggle_panel(HWND hook, SaveContext *c) {
  if (!c->panel_px) return;
  resize_dialog(GetParent(hook), c->widened ? -c->panel_px : c->panel_px);
  c->widened = !c->widened;
}

// "Formats>>" is the dialog's Help button: its click is taken before the
// dialog sees it, so no help is asked for (and the systems that never
// send CDN_HELP open the panel too).
LRESULT CALLBACK dialog_subclass(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  SaveContext *c = (SaveContext *)GetPropA(dialog, kContextProp);
  if (!c) return DefWindowProcA(dialog, msg, wp, lp);
  WNDPROC own = c->dialog_proc;
  if (msg == WM_COMMAND && LOWORD(wp) == pshHelp && HIWORD(wp) == BN_CLICKED) {
    toggle_panel(c->hook, c);
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)own);
    RemovePropA(dialog, kContextProp);
  }
  return CallWindowProcA(own, dialog, msg, wp, lp);
}

void take_formats_button(HWND hook, SaveContext *c) {
  HWND dialog = GetParent(hook);
  c->hook = hook;
  SetPropA(dialog, kContextProp, (HANDLE)c);
  c->dialog_proc = (WNDPROC)SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)dialog_subclass);
}

void on_type_change(HWND hook, SaveContext *c, DWORD line) {
  int format = filter_list_format(&c->list, line);
  if (format < 0) return;
  c->format = format;
  apply(hook, c, SP_TYPE_CHANGE, 0);
  rename_for_type(GetParent(hook), format);
}

BOOL on_notify(HWND hook, SaveContext *c, const OFNOTIFYA *n) {
  switch (n->hdr.code) {
    case CDN_INITDONE:
      init_done(hook, c);
      take_formats_button(hook, c);
      return TRUE;
    case CDN_TYPECHANGE: on_type_change(hook, c, n->lpOFN->nFilterIndex); return TRUE;
    case CDN_FILEOK: SetWindowLongPtrA(hook, DWLP_MSGRESULT, 0); return FALSE;
    default: return FALSE;
  }
}

void on_button(HWND hook, SaveContext *c, UINT id) {
  WORD bit = (WORD)(id & 0x0FFF);
  if (bit & SO_DEPTHS) {
    for (int s = 0; s < LC_DEPTH_SLOTS; s++)
      if (bit == (1 << s)) apply(hook, c, SP_DEPTH_CLICK, s);
  } else if (bit == SO_COLOR) {
    apply(hook, c, SP_COLOR_CLICK, 0);
  } else if (bit == SO_GRAY) {
    apply(hook, c, SP_GRAY_CLICK, 0);
  } else if (bit == SO_COMPRESSED) {
    apply(hook, c, SP_COMPRESSED_CLICK, 0);
  }
}

UINT_PTR CALLBACK save_hook(HWND hook, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SaveContext *c = (SaveContext *)((OPENFILENAMEA *)lp)->lCustData;
    SetWindowLongPtrA(hook, GWLP_USERDATA, (LONG_PTR)c);
    label_buttons(hook);
    apply(hook, c, SP_OPEN, 0);
    return TRUE;
  }
  SaveContext *c = context_of(hook);
  if (!c) return FALSE;
  if (msg == WM_NOTIFY) return on_notify(hook, c, (const OFNOTIFYA *)lp);
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && (LOWORD(wp) & 0xF000) == 0xF000) {
    on_button(hook, c, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

// The starting directory is the one of the starting name.
void split_start(const char *path, char *dir, size_t dirSize, char *name, size_t nameSize) {
  const char *slash = strrchr(path, '\\');
  if (!slash) slash = strrchr(path, '/');
  if (slash) {
    size_t n = (size_t)(slash - path);
    if (n == 0) n = 1; // the root
    lstrcpynA(dir, path, (int)(n + 1 < dirSize ? n + 1 : dirSize));
    lstrcpynA(name, slash + 1, (int)nameSize);
  } else {
    lstrcpyA(dir, ".");
    lstrcpynA(name, path, (int)nameSize);
  }
}

const DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHAREAWARE | OFN_SHOWHELP | OFN_ENABLEHOOK |
                         OFN_ENABLETEMPLATE | OFN_EXPLORER;

} // namespace

BOOL save_dialog_run(HWND owner, SaveDialogRequest *req) {
  SaveContext c = {};
  c.req = req;
  c.format = req->format;
  if (!filter_list_build(&c.list, 1)) {
    filter_list_free(&c.list);
    lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
    return FALSE;
  }
  c.panel = save_panel_start(req->options);
  char dir[LC_PATH_MAX], file[LC_PATH_MAX], ext[LC_EXT_SIZE] = "";
  split_start(req->path, dir, sizeof dir, file, sizeof file);
  catalogue_extension(req->format, ext, sizeof ext);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = g_shell.inst;
  ofn.lpstrFilter = c.list.text;
  ofn.nFilterIndex = (DWORD)catalogue_filter_position(1, req->format);
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = dir;
  ofn.lpstrDefExt = ext;
  ofn.Flags = kSaveFlags;
  ofn.lCustData = (LPARAM)&c;
  ofn.lpfnHook = save_hook;
  ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_PANEL);
  BOOL ok = GetSaveFileNameA(&ofn);
  if (ok) {
    int chosen = filter_list_format(&c.list, ofn.nFilterIndex);
    if (chosen >= 0) c.format = chosen;
    char chosen_ext[LC_EXT_SIZE] = "";
    catalogue_extension(c.format, chosen_ext, sizeof chosen_ext);
    ok = save_name_default_extension(file, chosen_ext, req->path, sizeof req->path);
    if (!ok) lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    req->format = c.format;
    req->options = save_panel_word(&c.panel);
  } else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
  }
  filter_list_free(&c.list);
  return ok;
}
