// Host messages of the frame: a table indexed by n = message - HM_BASE.
// The format, load and save messages are the engine's; the image-window
// messages read and change the window named in field 0.  Numbers without
// an entry go to the default frame procedure.  A missing window, file or
// format answers 0 without a message.
#include <string.h>

#include "color/flat/flat_reduce.h"
#include "core/batch_state.h"
#include "core/color_ops.h"
#include "core/host_messages.h"
#include "shell/settings/settings.h"
#include "shell_win.h"
#include "zynlib.h"

#define HM_LAST 77
#define HM_INTERFACE_VERSION 0x0101010A
#define HM_PRODUCT_RESULT 0x10010332

namespace {

typedef LRESULT (*HostHandler)(FrameState *st, HostParamBlock *block);

DWORD word(const HostParamBlock *b, int field) { return (DWORD)b->field[field]; }

// The image window a block names, or null.
HWND window_of(const HostParamBlock *b) {
  HWND w = b ? (HWND)b->field[HPB_WINDOW] : NULL;
  return w && is_image_window(w) ? w : NULL;
}

ImageRecord *record_of(const HostParamBlock *b) {
  HWND w = window_of(b);
  return w ? image_record(w, IMAGE_SLOT_RECORD) : NULL;
}

HGLOBAL image_arg(const HostParamBlock *b) { return b ? (HGLOBAL)b->field[HPB_DIB] : NULL; }

LRESULT hm_zero(FrameState *, HostParamBlock *) { return 0; }

// ---- the image record ---------------------------------------------------

LRESULT hm_get_word(FrameState *, HostParamBlock *b) {
  ImageRecord *r = record_of(b);
  if (!r || !record_offset_valid(word(b, HPB_OFFSET))) return 0;
  return (LRESULT)record_get(r, (int)word(b, HPB_OFFSET));
}

LRESULT hm_set_word(FrameState *, HostParamBlock *b) {
  ImageRecord *r = record_of(b);
  if (r && record_offset_valid(word(b, HPB_OFFSET))) record_set(r, (int)word(b, HPB_OFFSET), b->field[HPB_ARG8]);
  return 0;
}

LRESULT hm_test_flags(FrameState *, HostParamBlock *b) {
  ImageRecord *r = record_of(b);
  return r && (record_flags(r) & word(b, HPB_ARG8)) != 0;
}

LRESULT hm_change_flags(FrameState *, HostParamBlock *b) {
  if (ImageRecord *r = record_of(b)) record_change_flags(r, word(b, HPB_ARG8), word(b, HPB_COLOR) == 1);
  return 0;
}

LRESULT record_word(HostParamBlock *b, int offset) {
  ImageRecord *r = record_of(b);
  return r ? (LRESULT)record_get(r, offset) : 0;
}

LRESULT hm_image(FrameState *, HostParamBlock *b) { return record_word(b, IR_IMAGE); }
LRESULT hm_bitmap(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  return w ? (LRESULT)image_screen_bitmap(w) : 0;
}
LRESULT hm_palette(FrameState *, HostParamBlock *b) { return record_word(b, IR_PALETTE); }

LRESULT hm_copy_image(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  return w ? (LRESULT)image_copy_of(w) : 0;
}

LRESULT hm_copy_bitmap(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  return w ? (LRESULT)image_copy_bitmap(w) : 0;
}

LRESULT hm_copy_palette(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  return w ? (LRESULT)image_copy_palette(w) : 0;
}

LRESULT hm_install_quiet(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  if (w && image_arg(b)) image_install_quiet(w, image_arg(b));
  return 0;
}

LRESULT hm_install_change(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  if (!w || !image_arg(b)) return 0;
  image_install(w, image_arg(b));
  image_update_scroll_bars(w);
  return 0;
}

LRESULT hm_fit(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  if (w && image_arg(b)) image_fit_window(w, image_arg(b));
  return 0;
}

LRESULT hm_reset_record(FrameState *, HostParamBlock *b) {
  if (HWND w = window_of(b)) image_window_reset_record(w);
  return 0;
}

LRESULT hm_format(FrameState *, HostParamBlock *b) { return record_word(b, IR_FORMAT); }

LRESULT hm_save_as(FrameState *, HostParamBlock *b) {
  HWND w = window_of(b);
  return w && image_of(w) ? image_save_as(w) : 0;
}

// ---- windows ------------------------------------------------------------

LRESULT hm_new_window(FrameState *, HostParamBlock *) { return (LRESULT)image_window_create(NULL, TRUE); }

// The hand-over of a second copy comes without a block; a block from a
// plug-in is the engine's (it has been tried before this table).
LRESULT hm_open_window(FrameState *, HostParamBlock *b) { return b ? 0 : shell_receive_hand_over(); }

LRESULT hm_create_child(FrameState *st, HostParamBlock *b) {
  const MDICREATESTRUCTA *mcs = b ? (const MDICREATESTRUCTA *)b->field[HPB_ARG8] : NULL;
  if (!mcs || !mcs->szClass || !st->client) return 0;
  return SendMessageA(st->client, WM_MDICREATE, 0, (LPARAM)mcs);
}

LRESULT hm_client(FrameState *st, HostParamBlock *) { return (LRESULT)st->client; }
LRESULT hm_active(FrameState *, HostParamBlock *) { return (LRESULT)g_shell.active; }
LRESULT hm_all_agree(FrameState *st, HostParamBlock *) { return frame_all_agree_to_close(st); }

LRESULT hm_is_image_window(FrameState *, HostParamBlock *b) { return window_of(b) != NULL; }

LRESULT hm_own_dir(FrameState *, HostParamBlock *) {
  return g_shell.own_dir[0] && SetCurrentDirectoryA(g_shell.own_dir);
}

// ---- drawing and colour reduction -------------------------------------------

// Field 8 places the image: x in its low half, y in its high half.
LRESULT hm_draw(FrameState *, HostParamBlock *b) {
  HDC dc = b ? (HDC)b->field[4] : NULL;
  if (!dc || !image_arg(b)) return 0;
  POINT old;
  DWORD at = word(b, HPB_ARG8);
  OffsetViewportOrgEx(dc, (SHORT)LOWORD(at), (SHORT)HIWORD(at), &old);
  ZYN_DIB_FastPalDibBlt(dc, image_arg(b), 0, settings_read(SET_COLOR_MATCH), settings_read(SET_ALPHA_DISPLAY));
  SetViewportOrgEx(dc, old.x, old.y, NULL);
  return 0;
}

BOOL flat_target(DWORD bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24; }

// Field 8 colours (16 or 256); field 6 non-zero dithers with the
// dither_type setting.
LRESULT hm_optimized_cut(FrameState *, HostParamBlock *b) {
  const ColorOps *ops = color_ops();
  DWORD colors = b ? word(b, HPB_ARG8) : 0;
  if (!image_arg(b) || (colors != 16 && colors != 256) || !ops->optimized_cut) return 0;
  return (LRESULT)ops->optimized_cut(image_arg(b), colors, word(b, HPB_COLOR) != 0);
}

// Field 8 bits per pixel; field 6 the colour flag (0: gray); field 7 the
// dither_type value to dither with (0 halftone, 1 to 8 the kernels; any
// other value: the setting).  A cut to 24 bits never dithers.
LRESULT hm_flat_cut_dither(FrameState *, HostParamBlock *b) {
  if (!image_arg(b) || !flat_target(word(b, HPB_ARG8)) || !color_ops()->flat_cut) return 0;
  int gray = word(b, HPB_COLOR) == 0, bits = (int)word(b, HPB_ARG8);
  if (bits == 24) return (LRESULT)color_ops()->flat_cut(image_arg(b), bits, gray, 0);
  DWORD type = word(b, HPB_COMPRESSED);
  if (type > 8) type = (DWORD)settings_read(SET_DITHER_TYPE);
  return (LRESULT)flat_reduce_dither_type(image_arg(b), bits, gray, (int)type);
}

LRESULT hm_flat_cut(FrameState *, HostParamBlock *b) {
  if (!image_arg(b) || !flat_target(word(b, HPB_ARG8)) || !color_ops()->flat_cut) return 0;
  return (LRESULT)color_ops()->flat_cut(image_arg(b), (int)word(b, HPB_ARG8), word(b, HPB_COLOR) == 0, 0);
}

// ---- batch state and the product ----------------------------------------

LRESULT hm_batch_running(FrameState *, HostParamBlock *) { return batch_running(); }

LRESULT hm_set_batch_cancel(FrameState *, HostParamBlock *b) {
  if (b) batch_set_cancel(word(b, HPB_ARG8) != 0);
  return 0;
}

LRESULT hm_batch_session(FrameState *, HostParamBlock *) { return batch_session(); }

LRESULT hm_host_batch_run(FrameState *, HostParamBlock *b) {
  if (b) batch_set_host_run(word(b, HPB_COLOR) != 0);
  return 0;
}

LRESULT hm_version(FrameState *, HostParamBlock *) { return HM_INTERFACE_VERSION; }

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

// One slot per n; null slots belong to the default frame procedure.
struct HostTable {
  HostHandler at[HM_LAST + 1];
};

HostTable build_table() {
  HostTable t = {};
  static const UINT answered_zero[] = {
      13, 45, 46, 57,                 // answered 0 without action
      14, 15, 16, 17, 18, 29,         // progress window, help line: with the status bars
      72, 73, 74, 75, 76, 77,         // colour reduction steps
      21, 22, 23, 24, 25, 26, 27, 38, // engine messages without a block
      39, 40, 47, 51, 52, 53, 58, 59, 60, 61, 62};
  for (UINT n : answered_zero) t.at[n] = hm_zero;
  const struct {
    UINT n;
    HostHandler h;
  } rows[] = {
      {0, hm_get_word},         {1, hm_set_word},        {2, hm_test_flags},       {3, hm_change_flags},
      {4, hm_image},            {5, hm_bitmap},          {6, hm_palette},          {7, hm_copy_image},
      {8, hm_copy_bitmap},      {9, hm_copy_palette},    {10, hm_install_quiet},   {11, hm_install_change},
      {20, hm_version},         {28, hm_new_window},     {30, hm_client},          {31, hm_open_window},
      {32, hm_batch_running},   {33, hm_active},         {35, hm_draw},            {36, hm_set_batch_cancel},
      {37, hm_fit},             {41, hm_optimized_cut},  {42, hm_batch_session},   {43, hm_flat_cut_dither},
      {44, hm_flat_cut},        {49, hm_save_as},        {50, hm_format},          {54, hm_all_agree},
      {55, hm_reset_record},    {56, hm_product},        {63, hm_create_child},    {65, hm_is_image_window},
      {67, hm_own_dir},         {71, hm_host_batch_run},
  };
  for (const auto &r : rows) t.at[r.n] = r.h;
  return t;
}

const HostTable kHost = build_table();

} // namespace

BOOL frame_is_host_message(UINT msg) { return msg >= HM_BASE && msg <= HM_BASE + HM_LAST; }

// A block is an address in this process: one sent from another thread or
// process cannot be read, and is refused rather than followed.
LRESULT frame_host_message(FrameState *st, UINT n, WPARAM, LPARAM lp, BOOL *handled) {
  HostParamBlock *block = (HostParamBlock *)lp;
  LRESULT r = 0;
  *handled = TRUE;
  if (block && InSendMessage()) return 0;
  if (host_format_message(HM_BASE + n, block, &r)) return r;
  HostHandler h = n <= HM_LAST ? kHost.at[n] : NULL;
  if (h) return h(st, block);
  *handled = FALSE;
  return 0;
}
