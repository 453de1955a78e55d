// Save, Save As and the unsaved-changes question of an image window.  The
// pipeline's SaveFile writes a temporary file beside the target and only
// then replaces it, so a failed save never costs the old file.
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "core/batch_state.h"
#include "core/catalogue.h"
#include "core/conversion.h"
#include "core/messages.h"
#include "core/pipeline.h"
#include "core/save_as.h"
#include "core/save_options.h"
#include "lumacast_strings.h"
#include "shell/imagewin/close_rule.h"
#include "shell/settings/settings.h"
#include "shell_win.h"

namespace {

int window_format(HWND w) {
  DWORD f = (DWORD)record_get(image_record(w, IMAGE_SLOT_RECORD), IR_FORMAT);
  return f == IR_NO_FORMAT || f > 0x7FFFFFFF ? -1 : (int)f;
}

// The title is the file's full path; one that no file function can take
// is refused rather than cut.
BOOL title_path(HWND w, char *path, size_t size) {
  int n = GetWindowTextLengthA(w);
  if (n <= 0 || (size_t)n >= size) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    return FALSE;
  }
  GetWindowTextA(w, path, (int)size);
  return TRUE;
}

int start_format(HWND w) {
  int f = window_format(w);
  if (catalogue_listed_for_save(f)) return f;
  f = catalogue_current_save();
  return catalogue_listed_for_save(f) ? f : catalogue_dib_index();
}

WORD start_options(ImageRecord *r) {
  if (record_get(r, IR_OPTIONS_RESET) == 1) {
    record_set(r, IR_OPTIONS_RESET, 0);
    return 0;
  }
  return save_options_from_image((int)record_get(r, IR_DEPTH), (record_flags(r) & IRF_COLOR) != 0,
                                 record_get(r, IR_COMPRESSED) != 0);
}

BOOL start_name(HWND w, int format, char *out, size_t size) {
  char title[LC_PATH_MAX], ext[LC_EXT_SIZE];
  GetWindowTextA(w, title, sizeof title);
  if (!catalogue_extension(format, ext, sizeof ext)) return FALSE;
  return save_name_replace_extension(title, ext, out, size);
}

// The window keeps the converted image (with undo, so a failed save can be
// taken back) and the depth and colour it now has.
BOOL convert_for_save(HWND w, int chosenBits, int chosenColor, int format) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  int bits = (int)record_get(r, IR_DEPTH), color = (record_flags(r) & IRF_COLOR) != 0;
  int iconFrom32 = bits == 32 && format == catalogue_icon_index();
  ConversionPlan plan;
  plan_save_as(bits, color, chosenBits, chosenColor, iconFrom32, settings_read(SET_SAVE_COLORCUT) != 0,
               settings_read(SET_SAVE_DITHER) != 0, &plan);
  HGLOBAL converted = NULL;
  HCURSOR saved = wait_begin();
  BOOL ok = conversion_execute(&plan, image_of(w), &converted);
  wait_end(saved);
  if (!ok) return FALSE;
  if (converted) image_install(w, converted);
  r = image_record(w, IMAGE_SLOT_RECORD);
  record_set(r, IR_DEPTH, (ULONG_PTR)plan.resultBits);
  record_change_flags(r, IRF_COLOR, plan.resultColor);
  return TRUE;
}

BOOL loses_color_and_refused(HWND w, int chosenBits, int chosenColor, int format) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  if (!settings_read(SET_SAVE_WARN_COLORLOSS)) return FALSE;
  if (!save_loses_color((int)record_get(r, IR_DEPTH), (record_flags(r) & IRF_COLOR) != 0, chosenBits,
                        chosenColor, format))
    return FALSE;
  return lc_question(MSG_WARNING, IDS_COLOR_LOSS_QUESTION) != IDYES;
}

void upper_case(char *s) {
  for (; *s; s++) *s = (char)toupper((unsigned char)*s);
}

// The window's image to its title, in its format, depth and colour.
BOOL save_to_title(HWND w, int format) {
  char path[LC_PATH_MAX];
  if (!title_path(w, path, sizeof path)) return FALSE;
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  catalogue_set_current_save(format);
  HCURSOR saved = wait_begin();
  BOOL ok = SaveFile(path, image_of(w), (WORD)((record_flags(r) & IRF_COLOR) != 0),
                     (WORD)(record_get(r, IR_COMPRESSED) != 0), (WORD)record_get(r, IR_DEPTH));
  wait_end(saved);
  if (!ok) return FALSE;
  imagehost_notify_save(w, path);
  image_drop_undo(w);
  record_change_flags(image_record(w, IMAGE_SLOT_RECORD), IRF_MODIFIED, 0);
  return TRUE;
}

} // namespace

BOOL image_save(HWND w) {
  int format = window_format(w);
  return catalogue_listed_for_save(format) ? save_to_title(w, format) : image_save_as(w);
}

BOOL image_save_as(HWND w) {
  ImageRecord *r = image_record(w, IMAGE_SLOT_RECORD);
  if (!r || !image_of(w)) return FALSE;
  SaveDialogRequest req = {};
  req.format = start_format(w);
  catalogue_set_current_save(req.format);
  req.options = start_options(r);
  if (!start_name(w, req.format, req.path, sizeof req.path)) req.path[0] = '\0';
  if (!save_dialog_run(g_shell.frame, &req)) return FALSE;
  catalogue_set_current_save(req.format);
  if (UINT problem = save_name_problem(req.path)) {
    lc_message(MSG_ERROR, problem);
    return FALSE;
  }
  int chosenBits = bits_of_depth_slot(save_options_slot(req.options));
  int chosenColor = (req.options & SO_COLOR) != 0;
  record_set(r, IR_FORMAT, (ULONG_PTR)(DWORD)req.format);
  record_set(r, IR_COMPRESSED, (req.options & SO_COMPRESSED) ? 1 : 0);
  if (loses_color_and_refused(w, chosenBits, chosenColor, req.format)) return FALSE;
  if (!convert_for_save(w, chosenBits, chosenColor, req.format)) return FALSE;
  char old_title[LC_PATH_MAX];
  GetWindowTextA(w, old_title, sizeof old_title);
  upper_case(req.path);
  SetWindowTextA(w, req.path);
  BOOL ok = save_to_title(w, req.format);
  if (ok && !strstr(req.path, ".EPS")) {
    imagehost_notify_rename(w, req.path);
  } else {
    SetWindowTextA(w, old_title);
  }
  return ok;
}

BOOL image_may_close(HWND w) {
  if (!close_needs_question(GetKeyState(VK_SHIFT) < 0, image_flags(w), batch_running())) return TRUE;
  char title[LC_PATH_MAX], tail[128], text[LC_PATH_MAX + 128];
  GetWindowTextA(w, title, sizeof title);
  if (LoadStringA(g_shell.inst, IDS_SAVE_BEFORE_CLOSING, tail, sizeof tail) <= 0) tail[0] = '\0';
  snprintf(text, sizeof text, "%s%s", title, tail);
  int format = window_format(w);
  switch (close_action(lc_ask_yes_no_cancel(text), catalogue_listed_for_save(format))) {
    case CLOSE_SAVE: return image_save(w);
    case CLOSE_SAVE_AS: return image_save_as(w);
    case CLOSE_DISCARD: return TRUE;
    default: return FALSE;
  }
}
