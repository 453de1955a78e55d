// The frame window: a table of message handlers, each a small function.
// Its state (FrameState) is handed over in CreateWindow's parameter and bound
// to the window in WM_NCCREATE; handlers get it back from GWLP_USERDATA.
#include <windows.h>
#include <shellapi.h>

#include "resource.h"
#include "shell_win.h"

namespace {

typedef LRESULT (*FrameHandler)(FrameState *st, HWND hwnd, WPARAM wp, LPARAM lp);

struct FrameMessage {
  UINT msg;
  FrameHandler handler;
};

LRESULT def_frame(FrameState *st, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcA(hwnd, st ? st->client : NULL, msg, wp, lp);
}

void note_menus(FrameState *st, HWND hwnd) {
  HMENU bar = GetMenu(hwnd);
  for (int i = 0; i < POPUP_COUNT; ++i) st->popup[i] = GetSubMenu(bar, i);
  for (int i = 0; i < COLORS_SUBMENU_COUNT; ++i)
    st->colors_sub[i] = GetSubMenu(st->popup[POPUP_COLORS], COLORS_SUBMENU_FIRST + i);
}

LRESULT on_create(FrameState *st, HWND hwnd, WPARAM, LPARAM) {
  note_menus(st, hwnd);
  CLIENTCREATESTRUCT ccs;
  ccs.hWindowMenu = st->popup[POPUP_WINDOW];
  ccs.idFirstChild = IDM_FIRSTCHILD;
  st->client = CreateWindowExA(0, "mdiclient", NULL, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                               0, 0, 0, 0, hwnd, (HMENU)(UINT_PTR)ID_MDICLIENT,
                               (HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE), &ccs);
  if (!st->client) return -1;
  ShowWindow(st->client, SW_SHOW);
  DragAcceptFiles(hwnd, TRUE);
  return 0;
}

// Leave the system palette as we found it: realise the default palette in
// the focus window before everything goes.  Unsaved images are not asked
// about on this path.
LRESULT on_close(FrameState *, HWND hwnd, WPARAM, LPARAM) {
  HWND focus = GetFocus();
  if (focus) {
    HDC dc = GetDC(focus);
    if (dc) {
      SelectPalette(dc, (HPALETTE)GetStockObject(DEFAULT_PALETTE), FALSE);
      RealizePalette(dc);
      ReleaseDC(focus, dc);
    }
  }
  DestroyWindow(hwnd);
  return 0;
}

// The image windows go first, while the plug-in host they report to is
// still there; the host itself is freed after the frame's last message.
LRESULT on_destroy(FrameState *st, HWND hwnd, WPARAM, LPARAM) {
  DragAcceptFiles(hwnd, FALSE);
  frame_destroy_image_windows(st);
  WinHelpA(hwnd, "LUMACAST.HLP", HELP_QUIT, 0);
  PostQuitMessage(0);
  return 0;
}

LRESULT on_nc_destroy(FrameState *st, HWND hwnd, WPARAM wp, LPARAM lp) {
  imagehost_unbind();
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  if (g_shell.frame == hwnd) {
    g_shell.frame = NULL;
    g_shell.client = NULL;
    g_shell.active = NULL;
  }
  if (st) st->frame = st->client = NULL;
  return DefFrameProcA(hwnd, NULL, WM_NCDESTROY, wp, lp);
}

LRESULT on_query_end_session(FrameState *st, HWND, WPARAM, LPARAM) {
  return frame_all_agree_to_close(st);
}

// The process ends after this: the host is freed (later calls into it
// find it gone) and the settings are stored.
LRESULT on_end_session(FrameState *, HWND, WPARAM wp, LPARAM) {
  if (!wp) return 0;
  imagehost_unbind();
  shell_end_of_run();
  return 0;
}

// The default frame procedure fills the client area with the MDI client;
// the status bars, once there, take their height off the bottom.
LRESULT on_size(FrameState *st, HWND hwnd, WPARAM wp, LPARAM lp) {
  LRESULT r = def_frame(st, hwnd, WM_SIZE, wp, lp);
  if (wp != SIZE_MINIMIZED && st->client) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int status_height = 0;
    MoveWindow(st->client, 0, 0, rc.right, rc.bottom - status_height, TRUE);
  }
  return r;
}

LRESULT on_ignored_setting(FrameState *, HWND, WPARAM, LPARAM) { return 0; }

LRESULT on_init_menu_popup(FrameState *st, HWND, WPARAM wp, LPARAM lp) {
  if (!HIWORD(lp)) frame_menu_enable(st, (HMENU)wp); // not the system menu
  return 0;
}

LRESULT on_command(FrameState *st, HWND hwnd, WPARAM wp, LPARAM lp) {
  BOOL handled = FALSE;
  LRESULT r = frame_command(st, LOWORD(wp), &handled);
  return handled ? r : def_frame(st, hwnd, WM_COMMAND, wp, lp);
}

LRESULT on_drop_files(FrameState *, HWND, WPARAM wp, LPARAM) {
  frame_drop_files((HDROP)wp);
  return 0;
}

LRESULT on_query_new_palette(FrameState *, HWND, WPARAM, LPARAM) {
  if (g_shell.active) SendMessageA(g_shell.active, WM_QUERYNEWPALETTE, 0, 0);
  return 0;
}

// Image windows realise their palettes in the background when another
// window changed the system palette.  The guard stops a change made by one
// of them from being relayed again while the relay runs.
LRESULT on_palette_changed(FrameState *st, HWND, WPARAM wp, LPARAM lp) {
  if (st->relaying_palette || !st->client) return 0;
  st->relaying_palette = TRUE;
  for (HWND c = GetWindow(st->client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (!GetWindow(c, GW_OWNER)) SendMessageA(c, WM_PALETTECHANGED, wp, lp);
  st->relaying_palette = FALSE;
  return 0;
}

const FrameMessage kFrameMessages[] = {
    {WM_CREATE, on_create},
    {WM_CLOSE, on_close},
    {WM_DESTROY, on_destroy},
    {WM_NCDESTROY, on_nc_destroy},
    {WM_QUERYENDSESSION, on_query_end_session},
    {WM_ENDSESSION, on_end_session},
    {WM_SIZE, on_size},
    {WM_SETTINGCHANGE, on_ignored_setting},
    {WM_DEVMODECHANGE, on_ignored_setting},
    {WM_INITMENUPOPUP, on_init_menu_popup},
    {WM_COMMAND, on_command},
    {WM_DROPFILES, on_drop_files},
    {WM_QUERYNEWPALETTE, on_query_new_palette},
    {WM_PALETTECHANGED, on_palette_changed},
};

FrameHandler find_handler(UINT msg) {
  for (const FrameMessage &m : kFrameMessages)
    if (m.msg == msg) return m.handler;
  return NULL;
}

FrameState *bind_state(HWND hwnd, LPARAM lp) {
  FrameState *st = (FrameState *)((CREATESTRUCTA *)lp)->lpCreateParams;
  if (st) {
    st->frame = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)st);
  }
  return st;
}

} // namespace

FrameState *frame_state(HWND frame) {
  return (FrameState *)GetWindowLongPtrA(frame, GWLP_USERDATA);
}

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (!bind_state(hwnd, lp)) return FALSE;
    return DefFrameProcA(hwnd, NULL, msg, wp, lp);
  }
  FrameState *st = frame_state(hwnd);
  if (!st) return DefFrameProcA(hwnd, NULL, msg, wp, lp); // before WM_NCCREATE
  LRESULT offered;
  if (imagehost_frame_message(hwnd, msg, wp, lp, &offered)) return offered;
  if (frame_is_host_message(msg)) {
    BOOL handled = FALSE;
    LRESULT r = frame_host_message(st, msg - LC_HM_BASE, wp, lp, &handled);
    return handled ? r : def_frame(st, hwnd, msg, wp, lp);
  }
  FrameHandler h = find_handler(msg);
  return h ? h(st, hwnd, wp, lp) : def_frame(st, hwnd, msg, wp, lp);
}

HWND frame_create(HINSTANCE inst, FrameState *state) {
  ZeroMemory(state, sizeof *state);
  return CreateWindowExA(0, LC_FRAME_CLASS, LC_FRAME_TITLE, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         20, 20, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, inst, state);
}
