/* The function plug-ins the host library drives: their menu ids, handed
   out in increasing order so that each plug-in's ids form one range, and
   which plug-in a command id belongs to. */
#ifndef LC_PLUGIN_TABLE_H
#define LC_PLUGIN_TABLE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PT_MAX_PLUGINS 16
/* Command ids for plug-ins: above the program's own and below the
   system's. */
#define PT_FIRST_ID 0x5000u
#define PT_LAST_ID 0x5FFFu

typedef struct PluginSlot {
    void *module;
    UINT firstId, lastId; /* 0 when it holds none */
    void *menu;           /* its popup, or null */
} PluginSlot;

typedef struct PluginTable {
    PluginSlot slot[PT_MAX_PLUGINS];
    int count;
    int current; /* the plug-in being initialised, or -1 */
    UINT nextId, lastId;
} PluginTable;

void plugin_table_init(PluginTable *t, UINT firstId, UINT lastId);
/* A new slot that becomes current; -1 when the table is full. */
int plugin_table_add(PluginTable *t, void *module);
/* Drops the current slot (its init failed); its ids are not reused. */
void plugin_table_drop_current(PluginTable *t);
void plugin_table_end_init(PluginTable *t);
/* The next id for the current plug-in; 0 when none is left or no plug-in
   is being initialised. */
UINT plugin_table_take_id(PluginTable *t);
/* The slot owning a command id (or a popup), or -1. */
int plugin_table_owner(const PluginTable *t, UINT id);
int plugin_table_menu_owner(const PluginTable *t, const void *menu);

#ifdef __cplusplus
}
#endif

#endif
