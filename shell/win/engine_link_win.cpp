// The shell's one door to the engine's catalogue, format host messages and
// batch state.  The engine may be built without its core (early in a
// branch, or with -DLC_SHELL_WITHOUT_ENGINE); the shell then runs on the
// stand-ins below: an empty catalogue and no format messages.
#include "shell_win.h"

#if !defined(LC_SHELL_WITHOUT_ENGINE) && __has_include("core/catalogue.h") && \
    __has_include("core/host_messages.h") && __has_include("core/batch_state.h")
#define LC_ENGINE_LINKED 1
#include "core/batch_state.h"
#include "core/catalogue.h"
#include "core/color_ops.h"
#include "core/host_messages.h"
#include "codecs/ico/ico_dialog_win.h"
#else
#define LC_ENGINE_LINKED 0
#endif

#if LC_ENGINE_LINKED

BOOL shell_engine_linked(void) { return TRUE; }

BOOL shell_catalogue_register(void) {
  if (g_shell.catalogue_ready) return TRUE;
  color_ops_install_builtin(); /* the colour reductions and luminance tables */
  ico_dialog_install();        /* the icon codec asks through dialog 309 */
  g_shell.catalogue_ready = catalogue_register_builtins() != 0;
  return g_shell.catalogue_ready;
}

void shell_catalogue_free(void) {
  if (!g_shell.catalogue_ready) return;
  catalogue_free_all();
  g_shell.catalogue_ready = FALSE;
}

BOOL shell_catalogue_current_formats(LONG *load, LONG *save) {
  if (!g_shell.catalogue_ready) return FALSE;
  *load = catalogue_current_load();
  *save = catalogue_current_save();
  return TRUE;
}

void shell_catalogue_restore_formats(LONG load, LONG save) { catalogue_restore_current(load, save); }

BOOL shell_engine_host_message(UINT msg, HostParamBlock *block, LRESULT *result) {
  return host_format_message(msg, block, result) != 0;
}

BOOL shell_batch_running(void) { return batch_running() != 0; }
void shell_batch_set_running(BOOL on) { batch_set_running(on); }
void shell_batch_set_cancel(BOOL on) { batch_set_cancel(on); }

#else

static BOOL g_batch_running;

BOOL shell_engine_linked(void) { return FALSE; }
BOOL shell_catalogue_register(void) { return g_shell.catalogue_ready = TRUE; }
void shell_catalogue_free(void) { g_shell.catalogue_ready = FALSE; }
BOOL shell_catalogue_current_formats(LONG *, LONG *) { return FALSE; }
void shell_catalogue_restore_formats(LONG, LONG) {}
BOOL shell_engine_host_message(UINT, HostParamBlock *, LRESULT *) { return FALSE; }
BOOL shell_batch_running(void) { return g_batch_running; }
void shell_batch_set_running(BOOL on) { g_batch_running = on; }
void shell_batch_set_cancel(BOOL) {}

#endif
