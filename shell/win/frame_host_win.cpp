// Host messages of the frame: a table indexed by n = message - HM_BASE.
// The format, load and save messages are the engine's (through the
// catalogue link); numbers without an entry here go to the default frame
// procedure.  Entries that need image windows or the status bars answer 0
// for now, which is also their answer for a missing window or file.
#include <string.h>

#include "core/host_messages.h"
#include "shell_win.h"

#define HM_LAST 77
#define HM_INTERFACE_VERSION 0x0101010A
#define HM_PRODUCT_RESULT 0x10010332

namespace {

typedef LRESULT (*HostHandler)(FrameState *st, HostParamBlock *block);

LRESULT hm_zero(FrameState *, HostParamBlock *) { return 0; }

LRESULT hm_version(FrameState *, HostParamBlock *) { return HM_INTERFACE_VERSION; }

LRESULT hm_client(FrameState *st, HostParamBlock *) { return (LRESULT)st->client; }

LRESULT hm_batch_running(FrameState *, HostParamBlock *) { return shell_batch_running(); }

LRESULT hm_active(FrameState *, HostParamBlock *) { return (LRESULT)g_shell.active; }

LRESULT hm_set_batch_cancel(FrameState *, HostParamBlock *b) {
  if (b) shell_batch_set_cancel(b->field[HPB_ARG8] != 0);
  return 0;
}

LRESULT hm_batch_count(FrameState *, HostParamBlock *) { return g_shell.batch_count; }

LRESULT hm_all_agree(FrameState *st, HostParamBlock *) { return frame_all_agree_to_close(st); }

void copy_product(ULONG_PTR dst) {
  if (dst) memcpy((void *)dst, LC_PRODUCT_NAME, sizeof LC_PRODUCT_NAME);
}

LRESULT hm_product(FrameState *, HostParamBlock *b) {
  if (b) {
    copy_product(b->field[HPB_PATH]);
    copy_product(b->field[HPB_RECORD]);
  }
  return HM_PRODUCT_RESULT;
}

LRESULT hm_is_image_window(FrameState *, HostParamBlock *b) {
  if (!b) return 0;
  HWND w = (HWND)b->field[HPB_WINDOW];
  char cls[32];
  if (!w || !IsWindow(w) || !GetClassNameA(w, cls, sizeof cls)) return 0;
  return lstrcmpiA(cls, LC_IMAGE_CLASS) == 0;
}

LRESULT hm_own_dir(FrameState *, HostParamBlock *) {
  return g_shell.own_dir[0] && SetCurrentDirectoryA(g_shell.own_dir);
}

LRESULT hm_set_batch_running(FrameState *, HostParamBlock *b) {
  if (b) shell_batch_set_running(b->field[HPB_COLOR] != 0);
  return 0;
}

// One slot per n; null slots belong to the default frame procedure.
struct HostTable {
  HostHandler at[HM_LAST + 1];
};

HostTable build_table() {
  HostTable t = {};
  static const UINT later[] = {
      0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,  // image record, image, bitmap, palette
      13, 45, 46, 57,                                   // answered 0 without action
      14, 15, 16, 17, 18, 29,                           // progress window, help line
      28, 35, 37, 41, 43, 44, 49, 50, 55, 63,          // image windows, reduction, drawing
      72, 73, 74, 75, 76, 77,                           // colour reduction steps
      21, 22, 23, 24, 25, 26, 27, 31, 38, 39, 40, 47,  // engine, when not linked
      51, 52, 53, 58, 59, 60, 61, 62};
  for (UINT n : later) t.at[n] = hm_zero;
  t.at[20] = hm_version;
  t.at[30] = hm_client;
  t.at[32] = hm_batch_running;
  t.at[33] = hm_active;
  t.at[36] = hm_set_batch_cancel;
  t.at[42] = hm_batch_count;
  t.at[54] = hm_all_agree;
  t.at[56] = hm_product;
  t.at[65] = hm_is_image_window;
  t.at[67] = hm_own_dir;
  t.at[71] = hm_set_batch_running;
  return t;
}

const HostTable kHost = build_table();

} // namespace

BOOL frame_is_host_message(UINT msg) { return msg >= HM_BASE && msg <= HM_BASE + HM_LAST; }

LRESULT frame_host_message(FrameState *st, UINT n, WPARAM, LPARAM lp, BOOL *handled) {
  HostParamBlock *block = (HostParamBlock *)lp;
  LRESULT r = 0;
  *handled = TRUE;
  if (shell_engine_host_message(HM_BASE + n, block, &r)) return r;
  HostHandler h = n <= HM_LAST ? kHost.at[n] : NULL;
  if (h) return h(st, block);
  *handled = FALSE;
  return 0;
}
