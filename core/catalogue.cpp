/* Storage, registration and lookups of the format catalogue. */
#include "core/catalogue.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "core/files.h"
#include "core/messages.h"

static FormatCatalogue catalogue;
static int dibIndex = -1;
static int iconIndex = -1;

static char *copy_text(const char *text) {
    size_t n = strlen(text) + 1;
    char *copy = (char *)malloc(n);
    if (copy) memcpy(copy, text, n);
    return copy;
}

/* Doubles the array; the count comes from registrations, so the growth is
   checked against overflow before the multiplication. */
static int grow(void) {
    DWORD wanted = catalogue.capacity ? catalogue.capacity * 2 : 48;
    if (wanted <= catalogue.capacity || wanted > 0x100000u) return 0;
    FormatEntry *bigger = (FormatEntry *)realloc(catalogue.entries, (size_t)wanted * sizeof(FormatEntry));
    if (!bigger) return 0;
    catalogue.entries = bigger;
    catalogue.capacity = wanted;
    return 1;
}

/* The path a plug-in entry keeps: the full path when the file can be found,
   the given text otherwise (the per-call load then fails silently). */
static char *plugin_path_copy(const char *path) {
    char full[1024];
    return copy_text(lc_full_path(path, full, sizeof full) ? full : path);
}

extern "C" int catalogue_register(DWORD kinds, const char *extension, const char *displayName,
                                  FmtLoadProc load, FmtSaveProc save, FmtValidateProc validate,
                                  const BYTE *caps, const char *pluginPath, DWORD formatCode) {
    if (catalogue.count == catalogue.capacity && !grow()) return -1;
    FormatEntry *e = &catalogue.entries[catalogue.count];
    memset(e, 0, sizeof *e);
    e->index = catalogue.count;
    e->kinds = kinds;
    /* Detection compares with an upper-cased extension: a plug-in that
       announces "xyz" must still be found. */
    strncpy(e->extension, extension ? extension : "", LC_EXT_SIZE - 1);
    for (char *c = e->extension; *c; c++) *c = (char)toupper((unsigned char)*c);
    e->displayName = copy_text(displayName ? displayName : "");
    e->pluginPath = pluginPath ? plugin_path_copy(pluginPath) : NULL;
    if (!e->displayName || (pluginPath && !e->pluginPath)) {
        free(e->displayName);
        free(e->pluginPath);
        return -1;
    }
    e->load = load;
    e->save = save;
    e->validate = validate;
    if (caps) memcpy(e->saveCaps, caps, LC_DEPTH_SLOTS);
    e->formatCode = formatCode;
    if (!pluginPath && strcmp(e->extension, "DIB") == 0 && dibIndex < 0) dibIndex = (int)e->index;
    if (!pluginPath && strcmp(e->extension, "ICO") == 0 && iconIndex < 0) iconIndex = (int)e->index;
    return (int)catalogue.count++;
}

extern "C" void catalogue_free_all(void) {
    for (DWORD i = 0; i < catalogue.count; i++) {
        free(catalogue.entries[i].displayName);
        free(catalogue.entries[i].pluginPath);
    }
    free(catalogue.entries);
    memset(&catalogue, 0, sizeof catalogue);
    dibIndex = iconIndex = -1;
    catalogue_set_current_load(-1);
    catalogue_set_current_save(-1);
}

extern "C" const FormatCatalogue *catalogue_get(void) { return &catalogue; }
extern "C" int catalogue_count(void) { return (int)catalogue.count; }
extern "C" int catalogue_last_index(void) { return (int)catalogue.count - 1; }

extern "C" const FormatEntry *catalogue_entry(int index) {
    if (index < 0 || (DWORD)index >= catalogue.count) return NULL;
    return &catalogue.entries[index];
}

extern "C" int catalogue_extension(int index, char *buf, size_t size) {
    const FormatEntry *e = catalogue_entry(index);
    if (!e || !buf || size == 0) return 0;
    size_t n = strlen(e->extension);
    if (n >= size) n = size - 1;
    memcpy(buf, e->extension, n);
    buf[n] = '\0';
    return 1;
}

extern "C" const char *catalogue_display_name(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e ? e->displayName : NULL;
}

extern "C" DWORD catalogue_kinds(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e ? e->kinds : 0;
}

extern "C" DWORD catalogue_format_code(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e ? e->formatCode : 0;
}

extern "C" BYTE catalogue_save_caps(int index, int slot) {
    const FormatEntry *e = catalogue_entry(index);
    if (!e || slot < 0 || slot >= LC_DEPTH_SLOTS) return 0;
    return e->saveCaps[slot];
}

extern "C" int catalogue_caps_test(int index, int slot, BYTE mask) {
    return (catalogue_save_caps(index, slot) & mask) != 0;
}

extern "C" int catalogue_index_of_code(DWORD code) {
    for (DWORD i = 0; i < catalogue.count; i++)
        if (catalogue.entries[i].formatCode == code) return (int)i;
    return -1;
}

extern "C" int catalogue_has_loader(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e && e->load && e->load != LoadNone;
}

extern "C" int catalogue_listed_for_open(int index) {
    return catalogue_has_loader(index) && catalogue_entry(index)->load != LoadDisabled;
}

extern "C" int catalogue_has_writer(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e && e->save && e->save != SaveNone;
}

extern "C" int catalogue_listed_for_save(int index) {
    return catalogue_has_writer(index) && catalogue_entry(index)->save != SaveDisabled;
}

extern "C" int catalogue_is_plugin(int index) {
    const FormatEntry *e = catalogue_entry(index);
    return e && e->pluginPath != NULL;
}

extern "C" int catalogue_dib_index(void) { return dibIndex; }
extern "C" int catalogue_icon_index(void) { return iconIndex; }

extern "C" int catalogue_wildcard_index(void) {
    for (DWORD i = 0; i < catalogue.count; i++)
        if (catalogue.entries[i].load == LoadByDetection) return (int)i;
    return -1;
}
