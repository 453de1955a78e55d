// The records of an image window: slot 0 the current state, slot 1 the
// undo state.  A record owns its image, screen bitmap, palette and the two
// blocks at offsets 8 and 56.
#include <stdlib.h>

#include "shell_win.h"

ImageRecord *image_record(HWND w, int slot) {
  if (!w || slot < 0 || slot >= LC_IMAGE_SLOTS) return NULL;
  return (ImageRecord *)GetWindowLongPtrA(w, slot * (int)sizeof(LONG_PTR));
}

void image_record_set_slot(HWND w, int slot, ImageRecord *r) {
  SetWindowLongPtrA(w, slot * (int)sizeof(LONG_PTR), (LONG_PTR)r);
}

ImageRecord *image_record_new(void) { return (ImageRecord *)calloc(1, sizeof(ImageRecord)); }

// The plain words (flags, depth, format, scroll position) stay; every
// handle is freed and its word cleared.
void image_record_free_contents(HWND, ImageRecord *r) {
  if (!r) return;
  RecordHandles h;
  record_take_handles(r, &h);
  if (h.screenBitmap) DeleteObject((HGDIOBJ)h.screenBitmap);
  if (h.palette) DeleteObject((HGDIOBJ)h.palette);
  record_free_blocks(&h);
}

void image_record_destroy(HWND w, ImageRecord *r) {
  if (!r) return;
  image_record_free_contents(w, r);
  free(r);
}

void image_window_reset_record(HWND w) {
  ImageRecord *old = image_record(w, IMAGE_SLOT_RECORD);
  ImageRecord *fresh = image_record_new();
  if (!fresh) return;
  image_record_set_slot(w, IMAGE_SLOT_RECORD, fresh);
  image_record_destroy(w, old);
  InvalidateRect(w, NULL, TRUE);
}

DWORD image_flags(HWND w) { return record_flags(image_record(w, IMAGE_SLOT_RECORD)); }

HGLOBAL image_of(HWND w) { return (HGLOBAL)record_get(image_record(w, IMAGE_SLOT_RECORD), IR_IMAGE); }

BOOL is_image_window(HWND w) {
  char cls[32];
  if (!w || !IsWindow(w) || !GetClassNameA(w, cls, sizeof cls)) return FALSE;
  if (lstrcmpiA(cls, LC_IMAGE_CLASS) != 0) return FALSE;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid == GetCurrentProcessId();
}
