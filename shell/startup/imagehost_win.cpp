// The plug-in host library "IMAGEHOST.DLL", bound by name from the
// program's directory.  The program runs unchanged without it: every call
// then yields 0 and the windows handle every message themselves.
#include "core/pipeline.h"
#include "shell_win.h"

namespace {

typedef int(WINAPI *InitProc)(HWND frame, HWND client, BOOL defer);
typedef int(WINAPI *HandlerProc)(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result);
typedef void(WINAPI *FinishProc)(void);
typedef void(WINAPI *WindowProc1)(HWND w);
typedef void(WINAPI *WindowHandleProc)(HWND w, HGLOBAL image);
typedef void(WINAPI *WindowTextProc)(HWND w, const char *text);
typedef int(WINAPI *CountProc)(void);
typedef HMODULE(WINAPI *HandleProc)(WORD index);

const char *g_library_name = "IMAGEHOST.DLL";
const int kConsumed = 2;

struct Binding {
  HMODULE library;
  InitProc init;
  HandlerProc frame_handler;
  HandlerProc image_handler;
  FinishProc finish;
};
Binding g_host;

template <typename T> T entry(const char *name) {
  return g_host.library ? (T)(void *)GetProcAddress(g_host.library, name) : NULL;
}

BOOL file_exists(const char *name) {
  HANDLE f = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  if (f == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(f);
  return TRUE;
}

// The result record starts as 0, followed by a copy of the second
// parameter; the handler's answer is its first word.
BOOL offer(HandlerProc handler, HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) {
  if (!handler) return FALSE;
  LRESULT record[2] = {0, lp};
  if (handler(w, msg, wp, lp, record) != kConsumed) return FALSE;
  *result = record[0];
  return TRUE;
}

} // namespace

// Every entry point is looked up before any is called: a library that
// lacks a handler is never initialised.
void imagehost_bind(HWND frame, HWND client, BOOL defer) {
  if (g_host.library || !file_exists(g_library_name)) return;
  g_host.library = LoadLibraryA(g_library_name);
  if (!g_host.library) return;
  g_host.init = entry<InitProc>("LIB_InitImageLib");
  g_host.frame_handler = entry<HandlerProc>("LIB_MessageHandler");
  g_host.image_handler = entry<HandlerProc>("LIB_MDIMessageHandler");
  g_host.finish = entry<FinishProc>("LIB_InitImageLibFinish");
  if (!g_host.frame_handler || !g_host.image_handler) {
    imagehost_unbind();
    return;
  }
  pipeline_set_host_module(g_host.library);
  if (g_host.init) g_host.init(frame, client, defer);
}

void imagehost_set_library(const char *name) { g_library_name = name ? name : "IMAGEHOST.DLL"; }

void imagehost_finish(void) {
  if (g_host.finish) g_host.finish();
}

void imagehost_unbind(void) {
  HMODULE library = g_host.library;
  g_host = Binding();
  pipeline_set_host_module(NULL);
  if (library) FreeLibrary(library);
}

BOOL imagehost_bound(void) { return g_host.library != NULL; }

BOOL imagehost_frame_message(HWND frame, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) {
  return offer(g_host.frame_handler, frame, msg, wp, lp, result);
}

BOOL imagehost_image_message(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT *result) {
  return offer(g_host.image_handler, w, msg, wp, lp, result);
}

void imagehost_notify_change(HWND w) {
  if (WindowProc1 p = entry<WindowProc1>("LIB_MDIChangeProc")) p(w);
}

void imagehost_notify_delete(HWND w, HGLOBAL image) {
  if (WindowHandleProc p = entry<WindowHandleProc>("LIB_MDIDeleteProc")) p(w, image);
}

void imagehost_notify_rename(HWND w, const char *name) {
  if (WindowTextProc p = entry<WindowTextProc>("LIB_MDIRenameProc")) p(w, name);
}

void imagehost_notify_load(HWND w, const char *path) {
  if (WindowTextProc p = entry<WindowTextProc>("LIB_MDILoadProc")) p(w, path);
}

void imagehost_notify_save(HWND w, const char *path) {
  if (WindowTextProc p = entry<WindowTextProc>("LIB_MDISaveProc")) p(w, path);
}

int imagehost_count_plugins(void) {
  CountProc p = entry<CountProc>("LIB_CountFunctionDLLs");
  return p ? (p() & 0xFFFF) : 0;
}

HMODULE imagehost_plugin_handle(int index) {
  HandleProc p = entry<HandleProc>("LIB_GetFunctionDLLHandle");
  return p ? p((WORD)index) : NULL;
}
