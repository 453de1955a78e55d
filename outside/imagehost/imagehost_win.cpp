// IMAGEHOST.DLL, a stand-in of our own for the plug-in host library: the
// LIB_ entry points the program calls, and the RQ_ services plug-ins call,
// each a host message to the program's frame.
#include "imagehost_internal.h"
#include "stylize.h"

#define LIB_CONSUMED 2

HostState g_ih;

namespace {

LRESULT send_to_frame(void *, UINT message, HostParamBlock *block) {
  return g_ih.frame ? SendMessageA(g_ih.frame, message, 0, (LPARAM)block) : 0;
}

HANDLE reserve_menu(void *, int) { return menu_reserve(); }
UINT reserve_id(void *) { return plugin_table_take_id(&g_ih.plugins); }
HWND owner_window(void *, HWND) { return g_ih.frame; }

const HostLink *link(void) { return &g_ih.link; }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_ih.self = inst;
    DisableThreadLibraryCalls(inst);
  }
  return TRUE;
}

// ---- called by the program ----------------------------------------------

// Plug-ins are started at once; with the logo shown their menus simply
// wait behind it.
extern "C" __declspec(dllexport) int WINAPI LIB_InitImageLib(HWND frame, HWND client, BOOL) {
#ifdef LC_IMAGEHOST_BROKEN
  // The test of a broken library looks for this: it must never appear.
  CreateEventA(NULL, TRUE, TRUE, "LumacastBrokenHostInitialised");
#endif
  if (g_ih.ready) return 1;
  g_ih.frame = frame;
  g_ih.client = client;
  HostLink l = {send_to_frame, NULL, reserve_menu, reserve_id, owner_window};
  g_ih.link = l;
  plugin_table_init(&g_ih.plugins, PT_FIRST_ID, PT_LAST_ID);
  g_ih.ready = TRUE;
  plugins_start();
  stylize_start();
  return 1;
}

extern "C" __declspec(dllexport) void WINAPI LIB_InitImageLibFinish(void) {}

#ifndef LC_IMAGEHOST_BROKEN
// The frame's messages: the plug-ins' commands, popups and help lines are
// theirs; closing asks them first; the frame's end is theirs too.
extern "C" __declspec(dllexport) int WINAPI LIB_MessageHandler(HWND, UINT msg, WPARAM wp, LPARAM lp,
                                                              LRESULT *result) {
  if (!g_ih.ready) return 0;
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) <= 1 && (plugins_command(LOWORD(wp)) || stylize_command(LOWORD(wp))))
        return *result = 0, LIB_CONSUMED;
      return 0;
    case WM_INITMENUPOPUP:
      return plugins_menu_popup((HMENU)wp) || stylize_menu_popup((HMENU)wp) ? (*result = 0, LIB_CONSUMED) : 0;
    case WM_MENUSELECT:
      if (plugins_help(LOWORD(wp), HIWORD(wp)) || stylize_help(LOWORD(wp), HIWORD(wp))) return *result = 0, LIB_CONSUMED;
      return 0;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      if (plugins_query_exit()) return 0;
      *result = 0;
      return LIB_CONSUMED;
    case WM_NCDESTROY:
      stylize_stop();
      plugins_stop();
      g_ih.ready = FALSE;
      g_ih.frame = g_ih.client = NULL;
      return 0;
    default: (void)lp; return 0;
  }
}
#endif

extern "C" __declspec(dllexport) int WINAPI LIB_MDIMessageHandler(HWND w, UINT msg, WPARAM, LPARAM lp, LRESULT *) {
  if (g_ih.ready && msg == WM_MDIACTIVATE) {
    plugins_activate(w, (HWND)lp == w);
    stylize_activate(w, (HWND)lp == w);
  }
  return 0;
}

extern "C" __declspec(dllexport) void WINAPI LIB_MDIChangeProc(HWND) {}

// A window that goes can no longer be any plug-in's active window.
extern "C" __declspec(dllexport) void WINAPI LIB_MDIDeleteProc(HWND w, HGLOBAL) {
  if (g_ih.ready) {
    plugins_activate(w, FALSE);
    stylize_activate(w, FALSE);
  }
}

extern "C" __declspec(dllexport) void WINAPI LIB_MDIRenameProc(HWND, const char *) {}
extern "C" __declspec(dllexport) void WINAPI LIB_MDILoadProc(HWND, const char *) {}
extern "C" __declspec(dllexport) void WINAPI LIB_MDISaveProc(HWND, const char *) {}

extern "C" __declspec(dllexport) int WINAPI LIB_CountFunctionDLLs(void) { return plugins_count(); }

extern "C" __declspec(dllexport) HMODULE WINAPI LIB_GetFunctionDLLHandle(WORD index) {
  return plugins_module(index);
}

// ---- called by the plug-ins ---------------------------------------------

HGLOBAL WINAPI RQ_GetHDib(HWND w) { return rq_get_hdib(link(), w); }
HGLOBAL WINAPI RQ_CopyHDib(HWND w) { return rq_copy_hdib(link(), w); }
void WINAPI RQ_ReplaceHDib(HWND w, HGLOBAL dib) { rq_replace_hdib(link(), w, dib); }
int WINAPI RQ_GetFlag(HWND w, DWORD bits) { return rq_get_flag(link(), w, bits); }
void WINAPI RQ_SetInfo(HWND w, DWORD offset, DWORD value) { rq_set_info(link(), w, offset, value); }
HPALETTE WINAPI RQ_GetPalette(HWND w) { return (HPALETTE)rq_get_palette(link(), w); }

void WINAPI RQ_PaintDib(HDC dc, HGLOBAL dib, HPALETTE palette) {
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : NULL;
  if (palette) RealizePalette(dc);
  rq_paint_dib(link(), dc, dib);
  if (old) SelectPalette(dc, old, FALSE);
}

HWND WINAPI RQ_GetOwnerWindow(HWND w) { return rq_get_owner_window(link(), w); }
HMENU WINAPI RQ_ReserveMenu(int count) { return (HMENU)rq_reserve_menu(link(), count); }
UINT WINAPI RQ_ReserveMenuId(void) { return rq_reserve_menu_id(link()); }
void WINAPI RQ_ShowHelpText(const char *text) { rq_show_help_text(link(), text); }

void WINAPI RQ_GetSettingsKey(int, char *product, char *version) { rq_get_settings_key(link(), product, version); }

void WINAPI RQ_ProgressStart(HWND owner, const char *caption) { rq_progress_start(link(), owner, caption); }
void WINAPI RQ_ProgressRange(int low, int high) { rq_progress_range(link(), low, high); }
void WINAPI RQ_ProgressStep(int position) { rq_progress_step(link(), position); }
void WINAPI RQ_ProgressEnd(void) { rq_progress_end(link()); }

void WINAPI RQ_FmtRegister(BYTE *record) { rq_fmt_register(link(), record); }
void WINAPI RQ_FmtProgressRange(int low, int high) { rq_fmt_progress_range(link(), low, high); }
void WINAPI RQ_FmtProgressStep(int percent) { rq_fmt_progress_step(link(), percent); }
void WINAPI RQ_FmtSetInfoWord(int key, int value) { rq_fmt_set_info_word(link(), key, value); }
void WINAPI RQ_FmtSetInfoLong(int key, long value) { rq_fmt_set_info_long(link(), key, value); }
void WINAPI RQ_FmtSetInfoText(int key, const char *text) { rq_fmt_set_info_text(link(), key, text); }
void WINAPI RQ_FmtInfoDone(void) { rq_fmt_info_done(link()); }
int WINAPI RQ_InBatch(void) { return rq_in_batch(link()); }
int WINAPI RQ_GetBatchSession(void) { return rq_get_batch_session(link()); }
