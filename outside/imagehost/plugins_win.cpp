// The function plug-ins: found in the program's directory, initialised
// with their menus in the frame's menu bar, and given the commands, menu
// openings, help lines and window activations that concern them.
//
// Rule: every "*.dll" of the directory that holds IMAGEHOST.DLL and
// exports both RQ_ImgLib_Version and RQ_ImgLib_Init is a function
// plug-in.  Candidates are probed without running their code, taken in
// the order of their names, at most PT_MAX_PLUGINS of them.
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "imagehost_internal.h"

namespace {

struct Entries {
  ImgLibVersionProc version;
  ImgLibInitProc init;
  ImgLibActivateProc activate;
  ImgLibMenuInitProc menu_init;
  ImgLibMenuHandlerProc menu_handler;
  ImgLibHelpHandlerProc help_handler;
  ImgLibQueryExitProc query_exit;
  ImgLibExitProc exit;
};

Entries g_entries[PT_MAX_PLUGINS];

template <typename T> T find(HMODULE m, const char *name) { return (T)(void *)GetProcAddress(m, name); }

Entries entries_of(HMODULE m) {
  Entries e;
  e.version = find<ImgLibVersionProc>(m, "RQ_ImgLib_Version");
  e.init = find<ImgLibInitProc>(m, "RQ_ImgLib_Init");
  e.activate = find<ImgLibActivateProc>(m, "RQ_ImgLib_ImageActivate");
  e.menu_init = find<ImgLibMenuInitProc>(m, "RQ_ImgLib_MenuInit");
  e.menu_handler = find<ImgLibMenuHandlerProc>(m, "RQ_ImgLib_MenuHandler");
  e.help_handler = find<ImgLibHelpHandlerProc>(m, "RQ_ImgLib_HelpHandler");
  e.query_exit = find<ImgLibQueryExitProc>(m, "RQ_ImgLib_QueryExit");
  e.exit = find<ImgLibExitProc>(m, "RQ_ImgLib_Exit");
  return e;
}

// Looks at the export table only: no DllMain, no imports resolved.  A
// library the process already has (zynlib.dll beside the program) is
// looked at where it is.
BOOL is_function_plugin(const char *path) {
  HMODULE loaded = GetModuleHandleA(path);
  HMODULE m = loaded ? loaded : LoadLibraryExA(path, NULL, DONT_RESOLVE_DLL_REFERENCES);
  if (!m) return FALSE;
  BOOL yes = GetProcAddress(m, "RQ_ImgLib_Version") && GetProcAddress(m, "RQ_ImgLib_Init");
  if (!loaded) FreeLibrary(m);
  return yes;
}

int compare_names(const void *a, const void *b) { return lstrcmpiA((const char *)a, (const char *)b); }

struct NameList {
  char (*names)[MAX_PATH];
  int count;
};

NameList dll_names(const char *dir) {
  NameList list = {NULL, 0};
  char pattern[MAX_PATH];
  if (lstrlenA(dir) + 7 >= MAX_PATH) return list;
  wsprintfA(pattern, "%s\\*.dll", dir);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return list;
  int capacity = 0;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (list.count == capacity) {
      capacity = capacity ? capacity * 2 : 16;
      void *grown = realloc(list.names, (size_t)capacity * MAX_PATH);
      if (!grown) break;
      list.names = (char(*)[MAX_PATH])grown;
    }
    lstrcpynA(list.names[list.count++], fd.cFileName, MAX_PATH);
  } while (FindNextFileA(h, &fd) && list.count < 1024);
  FindClose(h);
  if (list.count) qsort(list.names, (size_t)list.count, MAX_PATH, compare_names);
  return list;
}

// "image.dll" gives "&Image".
void popup_title(const char *file, char *out, size_t size) {
  char stem[64];
  lstrcpynA(stem, file, sizeof stem);
  if (char *dot = strrchr(stem, '.')) *dot = '\0';
  for (char *p = stem; *p; p++) *p = (char)tolower((unsigned char)*p);
  stem[0] = (char)toupper((unsigned char)stem[0]);
  snprintf(out, size, "&%s", stem);
}

BOOL start_plugin(const char *dir, const char *file) {
  char path[MAX_PATH];
  if (lstrlenA(dir) + lstrlenA(file) + 2 > MAX_PATH) return FALSE;
  wsprintfA(path, "%s\\%s", dir, file);
  if (!lstrcmpiA(file, "IMAGEHOST.DLL") || !is_function_plugin(path)) return FALSE;
  HMODULE m = LoadLibraryA(path);
  if (!m) return FALSE;
  Entries e = entries_of(m);
  int slot = plugin_table_add(&g_ih.plugins, m);
  if (slot < 0 || !e.version || !e.version(IMGLIB_VERSION, 0, 0)) {
    if (slot >= 0) plugin_table_drop_current(&g_ih.plugins);
    FreeLibrary(m);
    return FALSE;
  }
  popup_title(file, g_ih.pending_title, sizeof g_ih.pending_title);
  g_entries[slot] = e;
  BOOL ok = e.init && e.init(0, g_ih.frame);
  if (!ok) {
    menu_remove(g_ih.plugins.slot[slot].menu);
    plugin_table_drop_current(&g_ih.plugins);
    FreeLibrary(m);
    return FALSE;
  }
  plugin_table_end_init(&g_ih.plugins);
  return TRUE;
}

} // namespace

void plugins_start(void) {
  char dir[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_ih.self, dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return;
  if (char *slash = strrchr(dir, '\\')) *slash = '\0';
  NameList list = dll_names(dir);
  for (int i = 0; i < list.count && g_ih.plugins.count < PT_MAX_PLUGINS; i++) start_plugin(dir, list.names[i]);
  free(list.names);
  if (g_ih.frame) DrawMenuBar(g_ih.frame);
}

void plugins_stop(void) {
  for (int i = g_ih.plugins.count - 1; i >= 0; i--) {
    if (g_entries[i].exit) g_entries[i].exit();
    FreeLibrary((HMODULE)g_ih.plugins.slot[i].module);
  }
  plugin_table_init(&g_ih.plugins, PT_FIRST_ID, PT_LAST_ID);
  memset(g_entries, 0, sizeof g_entries);
}

BOOL plugins_query_exit(void) {
  for (int i = 0; i < g_ih.plugins.count; i++)
    if (g_entries[i].query_exit && !g_entries[i].query_exit()) return FALSE;
  return TRUE;
}

BOOL plugins_command(UINT id) {
  int i = plugin_table_owner(&g_ih.plugins, id);
  if (i < 0) return FALSE;
  LRESULT result = 0;
  if (g_entries[i].menu_handler) g_entries[i].menu_handler(0, id, &result);
  return TRUE;
}

BOOL plugins_menu_popup(HMENU menu) {
  int i = plugin_table_menu_owner(&g_ih.plugins, menu);
  if (i < 0) return FALSE;
  if (g_entries[i].menu_init) g_entries[i].menu_init(0, menu, 0);
  return TRUE;
}

BOOL plugins_help(UINT id, UINT flags) {
  int i = plugin_table_owner(&g_ih.plugins, id);
  if (i < 0 || (flags & MF_POPUP) || !g_entries[i].help_handler) return FALSE;
  LRESULT result = 0;
  return g_entries[i].help_handler(0, id, 0, &result) == IMGLIB_HANDLED;
}

void plugins_activate(HWND w, BOOL activating) {
  for (int i = 0; i < g_ih.plugins.count; i++)
    if (g_entries[i].activate) g_entries[i].activate(w, activating ? 1 : 0, 0);
}

int plugins_count(void) { return g_ih.plugins.count; }

HMODULE plugins_module(int index) {
  return index >= 0 && index < g_ih.plugins.count ? (HMODULE)g_ih.plugins.slot[index].module : NULL;
}
