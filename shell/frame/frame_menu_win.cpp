// Menu enabling, in one place: WM_INITMENUPOPUP of the frame comes here, and
// so will the image windows' context menu.  Popups are recognised by their
// handle, not their position, because a maximised MDI child puts its system
// menu in front of the menu bar.
#include "frame_menu_win.h"

#include "resource.h"
#include "shell_win.h"

namespace {

UINT grayed_if(BOOL gray) { return MF_BYCOMMAND | (gray ? MF_GRAYED : MF_ENABLED); }

void enable(HMENU m, UINT id, BOOL on) { EnableMenuItem(m, id, grayed_if(!on)); }

void check(HMENU m, UINT id_or_pos, UINT by, BOOL on) {
  CheckMenuItem(m, id_or_pos, by | (on ? MF_CHECKED : MF_UNCHECKED));
}

// A media window counts as "no window" for everything but Close and Save As.
BOOL plain_window(const ActiveInfo *a) { return a->has_window && !a->is_media; }
BOOL plain_image(const ActiveInfo *a) { return plain_window(a) && a->has_image; }

struct DepthRule {
  UINT id;
  int gray_at_or_below; // grayed when depth <= this (0: never)
  int gray_at_or_above; // grayed when depth >= this (0: never)
};

// Which conversions make sense from which depth.
const DepthRule kDepthRules[] = {
    {IDM_MONO_FLAT, 1, 0},        {IDM_MONO_FLATDITHER, 1, 0},
    {IDM_C16_INCREASE, 0, 4},     {IDM_C16_FLAT, 4, 0},
    {IDM_C16_OPT, 4, 0},          {IDM_C16_FLATDITHER, 4, 0},
    {IDM_C16_OPTDITHER, 4, 0},    {IDM_C256_INCREASE, 0, 8},
    {IDM_C256_FLAT, 8, 0},        {IDM_C256_OPT, 8, 0},
    {IDM_C256_FLATDITHER, 8, 0},  {IDM_C256_OPTDITHER, 8, 0},
    {IDM_B16_INCREASE, 0, 16},    {IDM_B16_FLAT, 16, 0},
    {IDM_B16_FLATDITHER, 16, 0},  {IDM_B24_DECREASE, 24, 0},
    {IDM_B24_INCREASE, 0, 24},    {IDM_B32_OPAQUE, 0, 32},
    {IDM_B32_TRANSPARENT, 0, 32},
};

// Depth of each Colors submenu, in menu order.
const int kSubmenuDepth[COLORS_SUBMENU_COUNT] = {1, 4, 8, 16, 24, 32};

BOOL depth_rule_grays(const DepthRule &r, int depth) {
  if (r.gray_at_or_below && depth <= r.gray_at_or_below) return TRUE;
  if (r.gray_at_or_above && depth >= r.gray_at_or_above) return TRUE;
  return FALSE;
}

} // namespace

void active_info_get(HWND active, ActiveInfo *info) {
  ZeroMemory(info, sizeof *info);
  if (!active || !is_image_window(active)) return;
  info->has_window = TRUE;
  const ImageRecord *rec = image_record(active, IMAGE_SLOT_RECORD);
  DWORD flags = record_flags(rec);
  info->is_media = (flags & IRF_MEDIA) != 0;
  info->has_image = record_get(rec, IR_IMAGE) != 0;
  info->has_undo = record_get(image_record(active, IMAGE_SLOT_UNDO), IR_IMAGE) != 0;
  info->color = (flags & IRF_COLOR) != 0;
  info->depth = (int)record_get(rec, IR_DEPTH);
}

void menu_enable_file(HMENU file, const ActiveInfo *a) {
  enable(file, IDM_CLOSE, a->has_window);
  enable(file, IDM_SAVE, plain_image(a));
  enable(file, IDM_PRINT, plain_image(a));
  enable(file, IDM_SAVEAS, plain_image(a) || (a->has_window && a->is_media));
}

void menu_enable_edit(HMENU edit, const ActiveInfo *a) {
  BOOL win = plain_window(a);
  BOOL img = plain_image(a);
  for (UINT id = IDM_UNDO; id <= IDM_PASTEPAL; ++id) enable(edit, id, win);
  if (win && !img) {
    enable(edit, IDM_CUT, FALSE);
    enable(edit, IDM_COPY, FALSE);
    enable(edit, IDM_DELETE, FALSE);
    enable(edit, IDM_PASTEPAL, FALSE);
  }
  enable(edit, IDM_UNDO, win && a->has_undo);
  if (!win) return; // Paste and Paste Palette are already grayed
  BOOL bitmap = IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP);
  BOOL palette = IsClipboardFormatAvailable(CF_PALETTE);
  enable(edit, IDM_PASTE, bitmap);
  enable(edit, IDM_PASTEPAL, palette && img);
}

void menu_enable_colors(HMENU colors, const ActiveInfo *a) {
  BOOL img = plain_image(a);
  for (UINT pos = 0; pos < COLORS_SUBMENU_FIRST + COLORS_SUBMENU_COUNT; ++pos)
    EnableMenuItem(colors, pos, MF_BYPOSITION | (img ? MF_ENABLED : MF_GRAYED));
  if (!img) return;
  check(colors, IDM_COLOR, MF_BYCOMMAND, a->color);
  check(colors, IDM_GRAY, MF_BYCOMMAND, !a->color);
  for (int i = 0; i < COLORS_SUBMENU_COUNT; ++i)
    check(colors, COLORS_SUBMENU_FIRST + i, MF_BYPOSITION, a->depth == kSubmenuDepth[i]);
  // The items live in the submenus; MF_BYCOMMAND searches them too.
  for (const DepthRule &r : kDepthRules) enable(colors, r.id, !depth_rule_grays(r, a->depth));
}

void menu_enable_window(HMENU window) {
  enable(window, IDM_TILE, TRUE);
  enable(window, IDM_CASCADE, TRUE);
  enable(window, IDM_ARRANGE, TRUE);
  enable(window, IDM_CLOSEALL, TRUE);
}

void frame_menu_enable(FrameState *st, HMENU popup) {
  ActiveInfo a;
  active_info_get(g_shell.active, &a);
  if (popup == st->popup[POPUP_FILE]) menu_enable_file(popup, &a);
  else if (popup == st->popup[POPUP_EDIT]) menu_enable_edit(popup, &a);
  else if (popup == st->popup[POPUP_COLORS]) menu_enable_colors(popup, &a);
  else if (popup == st->popup[POPUP_WINDOW]) menu_enable_window(popup);
  // Capture and Help are left as they are.
}
