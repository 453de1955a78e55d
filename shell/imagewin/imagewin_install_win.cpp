// Putting a new image into an image window: the undo rule, the palette and
// screen bitmap made from it, and the copies handed to the plug-in host.
#include "core/batch_state.h"
#include "core/image_traits.h"
#include "shell/settings/settings.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

// By the depth the window shows: a 16-bit image is a 24-bit DIB.
BOOL wants_screen_bitmap(int level) {
  switch (settings_read(SET_SCREEN_BITMAPS)) {
    case 0: return TRUE;
    case 1: return level != 24 && level != 32;
    default: return FALSE;
  }
}

int dib_bits(HGLOBAL image) {
  BITMAPINFOHEADER bi;
  return ZYN_DIB_Info(image, &bi) ? bi.biBitCount : 0;
}

ImageRecord *current_record(HWND w) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  if (!r && (r = image_record_new()) != NULL) {
    record_init_fresh(r);
    image_record_set_slot(w, IMAGE_SLOT_RECORD, r);
  }
  return r;
}

// The level the window shows follows the image when they disagree; an 8-bit
// or smaller image whose colours are all grays is a gray image.
void settle_depth_and_color(ImageRecord *r, HGLOBAL image) {
  int bits = dib_bits(image);
  if (bits) record_set(r, IR_DEPTH, (ULONG_PTR)depth_level_for_image((int)record_get(r, IR_DEPTH), bits));
  int traits_bits = 0, color = 1;
  if (bits <= 8 && (record_flags(r) & IRF_COLOR) && image_traits(image, &traits_bits, &color) && !color)
    record_change_flags(r, IRF_COLOR, 0);
}

void repaint(HWND w) {
  InvalidateRect(w, NULL, TRUE);
}

// The screen bitmap of a large image takes a while to make: the window
// paints from the image first and makes the bitmap once it is idle (a
// zero timer comes after the paint), or when someone asks for it before.
const UINT_PTR kBitmapTimer = 0x4C43;

BOOL bitmap_due(const ImageRecord *r) {
  return r && record_get(r, IR_IMAGE) && !record_get(r, IR_SCREEN_BITMAP) &&
         wants_screen_bitmap((int)record_get(r, IR_DEPTH));
}

} // namespace

void image_screen_bitmap_soon(HWND w) {
  if (bitmap_due(image_record(w, IMAGE_SLOT_RECORD))) SetTimer(w, kBitmapTimer, 0, NULL);
}

HBITMAP image_screen_bitmap(HWND w) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  if (bitmap_due(r)) {
    KillTimer(w, kBitmapTimer);
    HGLOBAL image = (HGLOBAL)record_get(r, IR_IMAGE);
    record_set(r, IR_SCREEN_BITMAP,
               (ULONG_PTR)ZYN_DIB_BitmapFromDIB(image, (HPALETTE)record_get(r, IR_PALETTE), 0,
                                                settings_read(SET_COLOR_MATCH), settings_read(SET_ALPHA_DISPLAY)));
  }
  return (HBITMAP)record_get(r, IR_SCREEN_BITMAP);
}

BOOL image_screen_bitmap_timer(HWND w, UINT_PTR id) {
  if (id != kBitmapTimer) return FALSE;
  KillTimer(w, kBitmapTimer);
  image_screen_bitmap(w);
  return TRUE;
}

void image_set_without_undo(HWND w, HGLOBAL image) {
  ImageRecord *r = current_record(w);
  if (!r) return;
  settle_depth_and_color(r, image);
  HPALETTE palette = ZYN_DIB_CreatePalette(image);
  record_set(r, IR_IMAGE, (ULONG_PTR)image);
  record_set(r, IR_SCREEN_BITMAP, 0);
  record_set(r, IR_PALETTE, (ULONG_PTR)palette);
  record_set(r, IR_OWNED_A, 0);
  record_set(r, IR_OPTIONS_RESET, 0);
  record_set(r, IR_MEDIA_POS, 0);
  image_screen_bitmap_soon(w);
  imagehost_notify_change(w);
}

void image_drop_undo(HWND w) {
  ImageRecord *undo = image_record(w, IMAGE_SLOT_UNDO);
  image_record_set_slot(w, IMAGE_SLOT_UNDO, NULL);
  image_record_destroy(w, undo);
}

// With undo kept, the state before the change moves to slot 1 and the
// current record starts as its copy without its handles; otherwise any
// older undo state goes, so that Undo never skips a change.
void image_install(HWND w, HGLOBAL image) {
  BOOL keep = settings_read(SET_KEEP_UNDO) && !batch_running();
  ImageRecord *before = image_record(w, IMAGE_SLOT_RECORD);
  if (keep && before) {
    ImageRecord *fresh = image_record(w, IMAGE_SLOT_UNDO);
    if (!fresh) fresh = image_record_new();
    if (!fresh) {
      keep = FALSE;
    } else {
      image_record_free_contents(w, fresh);
      record_copy_for_undo(fresh, before);
      image_record_set_slot(w, IMAGE_SLOT_UNDO, before);
      image_record_set_slot(w, IMAGE_SLOT_RECORD, fresh);
    }
  }
  if (!keep) {
    image_drop_undo(w);
    image_record_free_contents(w, image_record(w, IMAGE_SLOT_RECORD));
  }
  image_set_without_undo(w, image);
  image_realize_foreground(w);
  image_fit_window(w, image);
  record_change_flags(image_record(w, IMAGE_SLOT_RECORD), IRF_MODIFIED, 1);
  repaint(w);
}

void image_install_quiet(HWND w, HGLOBAL image) {
  image_record_free_contents(w, image_record(w, IMAGE_SLOT_RECORD));
  image_set_without_undo(w, image);
  image_update_scroll_bars(w);
  repaint(w);
}

HGLOBAL image_copy_of(HWND w) {
  HGLOBAL image = image_of(w);
  return image ? ZYN_DIB_Copy(image) : NULL;
}

HBITMAP image_copy_bitmap(HWND w) {
  HBITMAP src = image_screen_bitmap(w);
  BITMAP bm;
  if (!src || !GetObjectA(src, sizeof bm, &bm)) return NULL;
  HDC screen = GetDC(NULL);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  HBITMAP copy = CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
  if (copy) {
    HGDIOBJ a = SelectObject(from, src), b = SelectObject(to, copy);
    BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, a);
    SelectObject(to, b);
  }
  DeleteDC(from);
  DeleteDC(to);
  ReleaseDC(NULL, screen);
  return copy;
}

HPALETTE image_copy_palette(HWND w) {
  HPALETTE src = (HPALETTE)record_get(image_record(w, IMAGE_SLOT_RECORD), IR_PALETTE);
  WORD count = 0;
  if (!src || !GetObjectA(src, sizeof count, &count) || count == 0) return NULL;
  LOGPALETTE *lp = (LOGPALETTE *)GlobalAlloc(GPTR, sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  if (!lp) return NULL;
  lp->palVersion = 0x300;
  lp->palNumEntries = count;
  GetPaletteEntries(src, 0, count, lp->palPalEntry);
  HPALETTE copy = CreatePalette(lp);
  GlobalFree(lp);
  return copy;
}
