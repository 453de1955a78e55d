#include "plugin_table.h"

#include <string.h>

extern "C" void plugin_table_init(PluginTable *t, UINT firstId, UINT lastId) {
    memset(t, 0, sizeof *t);
    t->current = -1;
    t->nextId = firstId;
    t->lastId = lastId;
}

extern "C" int plugin_table_add(PluginTable *t, void *module) {
    if (t->count >= PT_MAX_PLUGINS) return -1;
    PluginSlot *s = &t->slot[t->count];
    memset(s, 0, sizeof *s);
    s->module = module;
    t->current = t->count++;
    return t->current;
}

extern "C" void plugin_table_drop_current(PluginTable *t) {
    if (t->current < 0 || t->current != t->count - 1) return;
    t->count--;
    t->current = -1;
}

extern "C" void plugin_table_end_init(PluginTable *t) { t->current = -1; }

extern "C" UINT plugin_table_take_id(PluginTable *t) {
    if (t->current < 0 || t->nextId == 0 || t->nextId > t->lastId) return 0;
    PluginSlot *s = &t->slot[t->current];
    UINT id = t->nextId++;
    if (!s->firstId) s->firstId = id;
    s->lastId = id;
    return id;
}

extern "C" int plugin_table_owner(const PluginTable *t, UINT id) {
    for (int i = 0; i < t->count; i++)
        if (t->slot[i].firstId && id >= t->slot[i].firstId && id <= t->slot[i].lastId) return i;
    return -1;
}

extern "C" int plugin_table_menu_owner(const PluginTable *t, const void *menu) {
    if (!menu) return -1;
    for (int i = 0; i < t->count; i++)
        if (t->slot[i].menu == menu) return i;
    return -1;
}
