/* State of the plug-in host library, shared by its files. */
#ifndef LC_IMAGEHOST_INTERNAL_H
#define LC_IMAGEHOST_INTERNAL_H

#include <windows.h>

#include "plugin_table.h"
#include "plugins/hostapi/host_requests.h"
#include "plugins/hostapi/hostapi.h"

struct HostState {
  HMODULE self;
  HWND frame, client;
  PluginTable plugins;
  HostLink link; /* requests go to the frame */
  char pending_title[72]; /* the popup text of the plug-in being initialised */
  BOOL ready;
};
extern HostState g_ih;

/* plugins_win.cpp */
void plugins_start(void);
void plugins_stop(void);
BOOL plugins_query_exit(void);
BOOL plugins_command(UINT id);
BOOL plugins_menu_popup(HMENU menu);
BOOL plugins_help(UINT id, UINT flags);
void plugins_activate(HWND w, BOOL activating);
int plugins_count(void);
HMODULE plugins_module(int index);

/* menus_win.cpp */
HMENU menu_reserve(void);
void menu_remove(void *menu);

#endif
