// Command dispatch of the frame: menu items, accelerators and the image
// windows' context menu all arrive here as WM_COMMAND ids.  Commands whose
// work belongs to shell features that are not built yet are in the table
// with a handler that does nothing, so they never reach the default frame
// procedure.
#include "core/messages.h"
#include "lumacast_strings.h"
#include "resource.h"
#include "shell_win.h"

namespace {

typedef void (*CommandHandler)(FrameState *st, UINT id);

struct Command {
  UINT first, last;   // id range
  BOOL wait;          // run with the hourglass shown
  CommandHandler handler;
};

void cmd_none(FrameState *, UINT) {}

void cmd_new(FrameState *, UINT) { image_window_create(NULL, TRUE); }

void cmd_open(FrameState *, UINT) { image_window_create(NULL, FALSE); }

// Save and Save As need an image in the active window.
HWND window_with_image(void) {
  HWND w = g_shell.active;
  if (w && is_image_window(w) && image_of(w)) return w;
  lc_message(MSG_ERROR, IDS_NO_IMAGE_TO_SAVE);
  return NULL;
}

void cmd_save(FrameState *, UINT) {
  if (HWND w = window_with_image()) image_save(w);
}

void cmd_save_as(FrameState *, UINT) {
  if (HWND w = window_with_image()) image_save_as(w);
}

void cmd_about(FrameState *st, UINT) { about_show(st->frame); }

void cmd_undo(FrameState *, UINT) {
  if (g_shell.active && is_image_window(g_shell.active)) image_undo(g_shell.active);
}

void cmd_exit(FrameState *st, UINT) { SendMessageA(st->frame, WM_CLOSE, 0, 0); }

void cmd_close(FrameState *, UINT) {
  if (g_shell.active) SendMessageA(g_shell.active, WM_CLOSE, 0, 0);
}

void cmd_tile(FrameState *st, UINT) { SendMessageA(st->client, WM_MDITILE, 0, 0); }

void cmd_cascade(FrameState *st, UINT) { SendMessageA(st->client, WM_MDICASCADE, 0, 0); }

void cmd_arrange(FrameState *st, UINT) { SendMessageA(st->client, WM_MDIICONARRANGE, 0, 0); }

// Windows worth closing: direct children of the MDI client without owner
// (icon titles and other helpers have one) that are not browse windows.
BOOL closable_child(HWND c) {
  char cls[32];
  if (GetWindow(c, GW_OWNER) || !IsWindowVisible(c)) return FALSE;
  return !(GetClassNameA(c, cls, sizeof cls) && lstrcmpiA(cls, "BrowseClass") == 0);
}

// Closing changes the sibling chain, so start over after every close.
void destroy_children(FrameState *st, BOOL (*which)(HWND)) {
  for (;;) {
    HWND victim = NULL;
    for (HWND c = GetWindow(st->client, GW_CHILD); c && !victim; c = GetWindow(c, GW_HWNDNEXT))
      if (which(c)) victim = c;
    if (!victim) break;
    SendMessageA(st->client, WM_MDIDESTROY, (WPARAM)victim, 0);
  }
}

void cmd_close_all(FrameState *st, UINT) {
  if (!st->client || !frame_all_agree_to_close(st)) return;
  destroy_children(st, closable_child);
}

void cmd_help_index(FrameState *st, UINT) {
  if (g_shell.own_dir[0]) SetCurrentDirectoryA(g_shell.own_dir);
  WinHelpA(st->frame, "LUMACAST.HLP", HELP_INDEX, 0);
}

void cmd_help_using(FrameState *st, UINT) { WinHelpA(st->frame, "WINHELP.HLP", HELP_INDEX, 0); }

const Command kCommands[] = {
    {IDM_NEW, IDM_NEW, TRUE, cmd_new},
    {IDM_OPEN, IDM_OPEN, FALSE, cmd_open},
    {IDM_SAVE, IDM_SAVE, TRUE, cmd_save},
    {IDM_SAVEAS, IDM_SAVEAS, FALSE, cmd_save_as},
    {IDM_BATCH, IDM_BATCH, FALSE, cmd_none},
    {IDM_PRINT, IDM_PRINTSETUP, FALSE, cmd_none},
    {IDM_SETTINGS, IDM_SETTINGS, TRUE, cmd_none},
    {IDM_EXIT, IDM_EXIT, FALSE, cmd_exit},
    {IDM_CLOSE, IDM_CLOSE, FALSE, cmd_close},
    {IDM_UNDO, IDM_UNDO, TRUE, cmd_undo},
    {IDM_CUT, IDM_PASTEPAL, TRUE, cmd_none},
    {IDM_CAP_ACTIVEWND, IDM_CAP_OPTIONS, FALSE, cmd_none},
    {IDM_COLOR, IDM_COLOR, FALSE, cmd_none},
    {IDM_GRAY, IDM_GRAY, TRUE, cmd_none},
    {IDM_MONO_FLAT, IDM_MONO_FLATDITHER, TRUE, cmd_none},
    {IDM_C16_INCREASE, IDM_C16_OPTDITHER, TRUE, cmd_none},
    {IDM_C256_INCREASE, IDM_C256_OPTDITHER, TRUE, cmd_none},
    {IDM_B16_INCREASE, IDM_B16_FLATDITHER, TRUE, cmd_none},
    {IDM_B24_DECREASE, IDM_B24_INCREASE, TRUE, cmd_none},
    {IDM_B32_OPAQUE, IDM_B32_TRANSPARENT, TRUE, cmd_none},
    {IDM_TILE, IDM_TILE, FALSE, cmd_tile},
    {IDM_CASCADE, IDM_CASCADE, FALSE, cmd_cascade},
    {IDM_CLOSEALL, IDM_CLOSEALL, FALSE, cmd_close_all},
    {IDM_ARRANGE, IDM_ARRANGE, FALSE, cmd_arrange},
    {IDM_HELP_INDEX, IDM_HELP_INDEX, FALSE, cmd_help_index},
    {IDM_HELP_USING, IDM_HELP_USING, FALSE, cmd_help_using},
    {IDM_SYSINFO, IDM_SYSINFO, FALSE, cmd_none},
    {IDM_ABOUT, IDM_ABOUT, FALSE, cmd_about},
};

const Command *find_command(UINT id) {
  for (const Command &c : kCommands)
    if (id >= c.first && id <= c.last) return &c;
  return NULL;
}

} // namespace

// Shift held answers yes at once; otherwise the first image window that
// refuses makes the answer no.
BOOL frame_all_agree_to_close(FrameState *st) {
  if (GetKeyState(VK_SHIFT) < 0) return TRUE;
  if (!st->client) return TRUE;
  for (HWND c = GetWindow(st->client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindow(c, GW_OWNER)) continue;
    if (SendMessageA(c, LC_WM_QUERYCLOSE, 0, 0)) return FALSE;
  }
  return TRUE;
}

LRESULT frame_command(FrameState *st, UINT id, BOOL *handled) {
  const Command *c = find_command(id);
  *handled = c != NULL;
  if (!c) return 0;
  HCURSOR saved = c->wait ? wait_begin() : NULL;
  c->handler(st, id);
  if (c->wait) wait_end(saved);
  return 0;
}

static BOOL any_child(HWND c) { return GetWindow(c, GW_OWNER) == NULL; }

void frame_destroy_image_windows(FrameState *st) {
  if (st->client && IsWindow(st->client)) destroy_children(st, any_child);
}
