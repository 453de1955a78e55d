// Undo: the window's two records change places, so a second Undo brings
// the change back.
#include "core/catalogue.h"
#include "core/save_as.h"
#include "shell_win.h"

namespace {

// The title follows the format of the record that is now current.
void retitle_for_format(HWND w, DWORD old_format, DWORD new_format) {
  char ext[LC_EXT_SIZE], title[LC_PATH_MAX], renamed[LC_PATH_MAX];
  if (old_format == new_format || !catalogue_extension((int)new_format, ext, sizeof ext)) return;
  if (!GetWindowTextA(w, title, sizeof title)) return;
  if (save_name_replace_extension(title, ext, renamed, sizeof renamed)) SetWindowTextA(w, renamed);
}

} // namespace

BOOL image_undo(HWND w) {
  ImageRecord *current = image_record(w, IMAGE_SLOT_RECORD), *undo = image_record(w, IMAGE_SLOT_UNDO);
  if (!current || !undo || !record_get(undo, IR_IMAGE)) return FALSE;
  // The view stays where it is.
  record_set(undo, IR_SCROLL_X, record_get(current, IR_SCROLL_X));
  record_set(undo, IR_SCROLL_Y, record_get(current, IR_SCROLL_Y));
  image_record_set_slot(w, IMAGE_SLOT_RECORD, undo);
  image_record_set_slot(w, IMAGE_SLOT_UNDO, current);
  retitle_for_format(w, (DWORD)record_get(current, IR_FORMAT), (DWORD)record_get(undo, IR_FORMAT));
  image_screen_bitmap_soon(w);
  image_realize_foreground(w);
  InvalidateRect(w, NULL, TRUE);
  imagehost_notify_change(w);
  image_fit_window(w, image_of(w));
  return TRUE;
}
