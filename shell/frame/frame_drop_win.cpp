// Files dropped on the frame open in new image windows, each with the
// format its name shows.

#include "core/catalogue.h"
#include "core/files.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/frame/drop_rule.h"
#include "shell_win.h"

namespace {

int open_dropped(HDROP drop, UINT i) {
  char name[DROP_NAME_MAX];
  UINT n = DragQueryFileA(drop, i, NULL, 0);
  if (n == 0 || n >= sizeof name || DragQueryFileA(drop, i, name, sizeof name) != n) {
    lc_message(MSG_ERROR, IDS_DROP_CANNOT_LOAD);
    return DROP_NOT_LOADED;
  }
  int index = detect_format(name);
  if (index < 0) {
    lc_message(MSG_ERROR, IDS_DROP_UNSUPPORTED);
    return DROP_UNSUPPORTED;
  }
  catalogue_set_current_load(index);
  if (image_window_create(name, FALSE)) return DROP_OPENED;
  if (image_windows_exhausted()) return DROP_NO_WINDOW;
  lc_message(MSG_ERROR, IDS_DROP_CANNOT_LOAD);
  return DROP_NOT_LOADED;
}

} // namespace

void frame_drop_files(HDROP drop) {
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
  DropRun run;
  drop_begin(&run, count);
  for (UINT i = 0; i < count; i++)
    if (!drop_note(&run, open_dropped(drop, i))) break;
  DragFinish(drop);
  if (drop_skipped(&run) && run.failures >= DROP_MAX_FAILURES)
    lc_message(MSG_ERROR, IDS_DROP_REST_SKIPPED, drop_skipped(&run));
}
