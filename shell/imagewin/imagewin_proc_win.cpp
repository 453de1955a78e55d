// The image window (GenericWClass): a table of message handlers.  Every
// message is first offered to the plug-in host.
#include "core/load_panel.h"
#include "core/image_traits.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

typedef LRESULT (*ImageHandler)(HWND w, WPARAM wp, LPARAM lp);

struct ImageMessage {
  UINT msg;
  ImageHandler handler;
};

LRESULT def(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(w, msg, wp, lp); }

const CreationRecord *creation_record(LPARAM lp) {
  const CREATESTRUCTA *cs = (const CREATESTRUCTA *)lp;
  const MDICREATESTRUCTA *mcs = cs ? (const MDICREATESTRUCTA *)cs->lpCreateParams : NULL;
  return mcs ? (const CreationRecord *)mcs->lParam : NULL;
}

// What the window shows of an image: the load information describes the
// file just loaded; an image from elsewhere (pasted, captured) speaks for
// itself.
struct ImageKind {
  int depth, gray, compressed, type;
};

ImageKind kind_of(HGLOBAL image) {
  const LoadInfo *li = loadinfo_get();
  ImageKind k = {depth_level_of_bits(li->bitsPerPixel * (li->planes ? li->planes : 1)), li->gray != 0,
                 li->compressed != 0, (int)li->type};
  BITMAPINFOHEADER bi;
  if (image && ZYN_DIB_Info(image, &bi) && depth_level_for_image(k.depth, bi.biBitCount) != k.depth) {
    int bits = 0, color = 1;
    image_traits(image, &bits, &color);
    k.depth = depth_level_of_bits(bi.biBitCount);
    k.gray = !color;
    k.compressed = 0;
    k.type = 0;
  }
  return k;
}

LRESULT on_create(HWND w, WPARAM, LPARAM lp) {
  const CreationRecord *cr = creation_record(lp);
  if (cr && cr->kind == CREATE_BARE) return 0;
  ImageRecord *r = image_record_new();
  if (!r) return -1;
  record_init_fresh(r);
  image_record_set_slot(w, IMAGE_SLOT_RECORD, r);
  HGLOBAL image = cr ? (HGLOBAL)cr->image : NULL;
  ImageKind k = kind_of(image);
  record_set(r, IR_DEPTH, (ULONG_PTR)k.depth);
  record_change_flags(r, IRF_COLOR, !k.gray);
  record_set(r, IR_COMPRESSED, (ULONG_PTR)k.compressed);
  if (!image) return 0;
  if (k.type == 1) {
    record_change_flags(r, IRF_VECTOR, 1);
  } else {
    record_change_flags(image_record(w, IMAGE_SLOT_RECORD), IRF_RASTER, 1);
    image_install(w, image);
  }
  record_change_flags(image_record(w, IMAGE_SLOT_RECORD), IRF_MODIFIED, 0);
  return 0;
}

LRESULT on_destroy(HWND w, WPARAM, LPARAM) {
  imagehost_notify_delete(w, image_of(w));
  if (g_shell.active == w) g_shell.active = NULL;
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD), *undo = image_record(w, IMAGE_SLOT_UNDO);
  image_record_set_slot(w, IMAGE_SLOT_RECORD, NULL);
  image_record_set_slot(w, IMAGE_SLOT_UNDO, NULL);
  image_record_destroy(w, r);
  image_record_destroy(w, undo);
  return 0;
}

LRESULT on_paint(HWND w, WPARAM, LPARAM) {
  image_paint(w);
  return 0;
}

// The paint fills what the image does not cover, so nothing flickers.
LRESULT on_erase(HWND, WPARAM, LPARAM) { return 1; }

LRESULT on_mdi_activate(HWND w, WPARAM wp, LPARAM lp) {
  HWND activated = (HWND)lp;
  g_shell.active = is_image_window(activated) ? activated : NULL;
  LRESULT r = def(w, WM_MDIACTIVATE, wp, lp);
  if (activated == w) {
    SetFocus(w);
    image_realize_foreground(w);
  }
  return r;
}

LRESULT on_query_new_palette(HWND w, WPARAM, LPARAM) { return image_realize_foreground(w); }

LRESULT on_palette_changed(HWND w, WPARAM wp, LPARAM) {
  if ((HWND)wp != w) image_realize_background(w);
  return 0;
}

LRESULT on_hscroll(HWND w, WPARAM wp, LPARAM) {
  image_scroll(w, SB_HORZ, LOWORD(wp));
  return 0;
}

LRESULT on_vscroll(HWND w, WPARAM wp, LPARAM) {
  image_scroll(w, SB_VERT, LOWORD(wp));
  return 0;
}

LRESULT on_key_down(HWND w, WPARAM wp, LPARAM lp) {
  if (wp == VK_HOME || wp == VK_END) return 0;
  return image_scroll_key(w, (UINT)wp) ? 0 : def(w, WM_KEYDOWN, wp, lp);
}

LRESULT on_size(HWND w, WPARAM wp, LPARAM lp) {
  LRESULT r = def(w, WM_SIZE, wp, lp);
  if (wp != SIZE_MINIMIZED) image_update_scroll_bars(w);
  return r;
}

LRESULT on_left_button(HWND w, WPARAM, LPARAM) {
  if (HGLOBAL image = image_of(w)) image_fit_window(w, image);
  return 0;
}

// The Colors popup for an image, Edit otherwise, enabled as from the bar;
// its commands go to the frame.
LRESULT on_right_button(HWND w, WPARAM, LPARAM lp) {
  FrameState *st = g_shell.frame ? frame_state(g_shell.frame) : NULL;
  if (!st || (image_flags(w) & IRF_MEDIA)) return 0;
  BringWindowToTop(w);
  HMENU popup = st->popup[image_of(w) ? POPUP_COLORS : POPUP_EDIT];
  SendMessageA(g_shell.frame, WM_INITMENU, (WPARAM)GetMenu(g_shell.frame), 0);
  frame_menu_enable(st, popup);
  POINT at = {(SHORT)LOWORD(lp), (SHORT)HIWORD(lp)};
  ClientToScreen(w, &at);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, g_shell.frame, NULL);
  return 0;
}

LRESULT on_timer(HWND w, WPARAM wp, LPARAM lp) {
  return image_screen_bitmap_timer(w, wp) ? 0 : def(w, WM_TIMER, wp, lp);
}

LRESULT on_close(HWND w, WPARAM wp, LPARAM lp) { return image_may_close(w) ? def(w, WM_CLOSE, wp, lp) : 0; }

LRESULT on_query_close(HWND w, WPARAM, LPARAM) { return !image_may_close(w); }

const ImageMessage kImageMessages[] = {
    {WM_CREATE, on_create},
    {WM_DESTROY, on_destroy},
    {WM_PAINT, on_paint},
    {WM_ERASEBKGND, on_erase},
    {WM_MDIACTIVATE, on_mdi_activate},
    {WM_QUERYNEWPALETTE, on_query_new_palette},
    {WM_PALETTECHANGED, on_palette_changed},
    {WM_HSCROLL, on_hscroll},
    {WM_VSCROLL, on_vscroll},
    {WM_KEYDOWN, on_key_down},
    {WM_SIZE, on_size},
    {WM_LBUTTONDOWN, on_left_button},
    {WM_RBUTTONDOWN, on_right_button},
    {WM_TIMER, on_timer},
    {WM_CLOSE, on_close},
    {LC_WM_QUERYCLOSE, on_query_close},
};

ImageHandler find_handler(UINT msg) {
  for (const ImageMessage &m : kImageMessages)
    if (m.msg == msg) return m.handler;
  return NULL;
}

} // namespace

LRESULT CALLBACK image_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT offered;
  if (imagehost_image_message(hwnd, msg, wp, lp, &offered)) return offered;
  ImageHandler h = find_handler(msg);
  return h ? h(hwnd, wp, lp) : def(hwnd, msg, wp, lp);
}
