// The built-in "Stylize" popup: there when style.dll can be loaded from
// the host library's own folder.  "Filter..." asks for a filter and its
// values, "Repeat" runs the last one again; either filters a copy of the
// active image and hands the result to the window, which keeps the old
// image as its undo.
#include <stdio.h>
#include <string.h>

#include "imagehost_internal.h"
#include "stylize.h"
#include "stylize_strings.h"
#include "zynlib.h"

namespace {

typedef HGLOBAL(WINAPI *CallFilterProc)(DWORD filter, HGLOBAL dib, int amount, DWORD p1, DWORD p2, DWORD p3,
                                        DWORD color);

// Image operations are barred in media windows.
const DWORD kMediaFlags = 0x40 | 0x200 | 0x400;

struct StylizeState {
  HMODULE style;
  CallFilterProc call;
  HMENU popup;
  HWND active;
  StylizeChoice choice; // the values of the next opening and of Repeat
  BOOL ran;             // a filter ran in this run: Repeat has something to do
  BOOL busy;            // a filter runs (the interface may be pumped meanwhile)
};
StylizeState g_sz;

const HostLink *link(void) { return &g_ih.link; }

// style.dll beside this library; colorkit.dll, which it imports, is
// looked for there too.
BOOL bind_style(void) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_ih.self, path, sizeof path);
  char *slash = n && n < sizeof path ? strrchr(path, '\\') : NULL;
  if (!slash || (size_t)(slash - path) + sizeof "\\style.dll" > sizeof path) return FALSE;
  lstrcpyA(slash, "\\style.dll");
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return FALSE;
  g_sz.style = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!g_sz.style) return FALSE;
  g_sz.call = (CallFilterProc)(void *)GetProcAddress(g_sz.style, "STY_CallFilter");
  if (g_sz.call) return TRUE;
  FreeLibrary(g_sz.style);
  g_sz.style = NULL;
  return FALSE;
}

// Like the plug-ins' popups: in front of Window and Help.
HMENU insert_popup(void) {
  HMENU bar = g_ih.frame ? GetMenu(g_ih.frame) : NULL;
  HMENU popup = bar ? CreatePopupMenu() : NULL;
  if (!popup) return NULL;
  char text[64];
  int n = GetMenuItemCount(bar);
  stylize_text(IDS_STZ_FILTER, text, sizeof text);
  BOOL ok = AppendMenuA(popup, MF_STRING, STZ_ID_FILTER, text);
  stylize_text(IDS_STZ_REPEAT_NONE, text, sizeof text);
  ok = ok && AppendMenuA(popup, MF_STRING | MF_GRAYED, STZ_ID_REPEAT, text);
  stylize_text(IDS_STZ_POPUP, text, sizeof text);
  ok = ok && InsertMenuA(bar, n > 2 ? (UINT)(n - 2) : 0, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup, text);
  if (ok) return popup;
  DestroyMenu(popup);
  return NULL;
}

void remove_popup(HMENU popup) {
  HMENU bar = g_ih.frame && IsWindow(g_ih.frame) ? GetMenu(g_ih.frame) : NULL;
  for (int i = bar ? GetMenuItemCount(bar) - 1 : -1; i >= 0; i--)
    if (GetSubMenu(bar, i) == popup) RemoveMenu(bar, (UINT)i, MF_BYPOSITION);
  if (IsMenu(popup)) DestroyMenu(popup);
}

BOOL takes_filters(HWND w) {
  return w && IsWindow(w) && rq_get_hdib(link(), w) && !rq_get_flag(link(), w, kMediaFlags);
}

void name_repeat_item(void) {
  char name[64], plain[64], format[64], text[96];
  stylize_filter_name(g_sz.style, g_sz.choice.filter, name, sizeof name);
  stylize_plain_name(name, plain, sizeof plain);
  stylize_text(IDS_STZ_REPEAT, format, sizeof format);
  snprintf(text, sizeof text, format, plain);
  ModifyMenuA(g_sz.popup, STZ_ID_REPEAT, MF_BYCOMMAND | MF_STRING, STZ_ID_REPEAT, text);
}

// A failed filter has reported itself (style.dll's messages) or was
// stopped; either way the window keeps its image.
BOOL run_filter(HWND w, const StylizeChoice *c) {
  HGLOBAL copy = rq_copy_hdib(link(), w);
  if (!copy) {
    ZYN_ERR_ErrorID(g_ih.self, ZYN_ERR_LEVEL_ERROR, IDS_STZ_NOMEM);
    return FALSE;
  }
  HCURSOR saved = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
  HGLOBAL out = g_sz.call((DWORD)c->filter, copy, c->amount, (DWORD)c->p1, (DWORD)c->p2, (DWORD)c->p3, c->color);
  SetCursor(saved);
  GlobalFree(copy);
  if (!out) return FALSE;
  // The window may have closed while the filter let messages through.
  if (!IsWindow(w) || !rq_get_hdib(link(), w)) {
    GlobalFree(out);
    return FALSE;
  }
  rq_replace_hdib(link(), w, out);
  return TRUE;
}

void filter_command(BOOL ask) {
  HWND w = g_sz.active;
  if (!takes_filters(w) || (!ask && !g_sz.ran)) return;
  StylizeChoice c = g_sz.choice;
  if (ask) {
    if (!stylize_dialog_run(rq_get_owner_window(link(), w), g_sz.style, &c)) return;
    g_sz.choice = c;
    stylize_settings_store(&c);
    if (!takes_filters(w)) return;
  }
  g_sz.busy = TRUE;
  if (run_filter(w, &c)) g_sz.ran = TRUE;
  g_sz.busy = FALSE;
  if (g_sz.ran) name_repeat_item();
}

} // namespace

void stylize_start(void) {
  if (g_sz.style || !bind_style()) return;
  g_sz.popup = insert_popup();
  if (!g_sz.popup) {
    stylize_stop();
    return;
  }
  stylize_settings_load(&g_sz.choice);
  DrawMenuBar(g_ih.frame);
}

void stylize_stop(void) {
  if (g_sz.popup) remove_popup(g_sz.popup);
  if (g_sz.style) FreeLibrary(g_sz.style);
  memset(&g_sz, 0, sizeof g_sz);
}

BOOL stylize_command(UINT id) {
  if (!g_sz.popup || id < STZ_FIRST_ID || id > STZ_LAST_ID) return FALSE;
  if (!g_sz.busy && (id == STZ_ID_FILTER || id == STZ_ID_REPEAT)) filter_command(id == STZ_ID_FILTER);
  return TRUE;
}

BOOL stylize_menu_popup(HMENU menu) {
  if (!g_sz.popup || menu != g_sz.popup) return FALSE;
  BOOL on = !g_sz.busy && takes_filters(g_sz.active);
  EnableMenuItem(menu, STZ_ID_FILTER, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, STZ_ID_REPEAT, MF_BYCOMMAND | (on && g_sz.ran ? MF_ENABLED : MF_GRAYED));
  return TRUE;
}

BOOL stylize_help(UINT id, UINT flags) {
  if (!g_sz.popup || (flags & MF_POPUP) || flags == 0xFFFF) return FALSE;
  UINT text_id = id == STZ_ID_FILTER ? IDS_STZ_HELP_FILTER : id == STZ_ID_REPEAT ? IDS_STZ_HELP_REPEAT : 0;
  if (!text_id) return FALSE;
  char text[128];
  stylize_text(text_id, text, sizeof text);
  rq_show_help_text(link(), text);
  return TRUE;
}

void stylize_activate(HWND w, BOOL activating) {
  if (activating) g_sz.active = w;
  else if (g_sz.active == w) g_sz.active = NULL;
}
