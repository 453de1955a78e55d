// The popups of the plug-ins: each goes into the frame's menu bar in
// front of Window and Help, titled after its plug-in.
#include "imagehost_internal.h"

namespace {

// Window and Help stay last.
UINT insert_position(HMENU bar) {
  int n = GetMenuItemCount(bar);
  return n > 2 ? (UINT)(n - 2) : 0;
}

} // namespace

HMENU menu_reserve(void) {
  int slot = g_ih.plugins.current;
  if (slot < 0 || g_ih.plugins.slot[slot].menu || !g_ih.frame) return NULL;
  HMENU bar = GetMenu(g_ih.frame);
  HMENU popup = CreatePopupMenu();
  if (!bar || !popup) {
    if (popup) DestroyMenu(popup);
    return NULL;
  }
  if (!InsertMenuA(bar, insert_position(bar), MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup,
                   g_ih.pending_title)) {
    DestroyMenu(popup);
    return NULL;
  }
  g_ih.plugins.slot[slot].menu = popup;
  return popup;
}

void menu_remove(void *menu) {
  HMENU bar = g_ih.frame ? GetMenu(g_ih.frame) : NULL;
  if (!menu || !bar) return;
  for (int i = GetMenuItemCount(bar) - 1; i >= 0; i--)
    if (GetSubMenu(bar, i) == (HMENU)menu) RemoveMenu(bar, (UINT)i, MF_BYPOSITION);
  DestroyMenu((HMENU)menu);
}
