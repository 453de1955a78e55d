#include "shell/settings/settings.h"

#include <stdio.h>
#include <string.h>

#include "core/lc_instance.h"
#include "lumacast_strings.h"

typedef struct SettingRow {
    UINT nameId;
    UINT offset;
    LONG defaultValue;
} SettingRow;

static const SettingRow table[SETTINGS_COUNT] = {
    {IDS_SET_TIF_1_BIT_COMPRESSION, SET_TIF_1_BIT_COMPRESSION, 1},
    {IDS_SET_TIF_4_BIT_COMPRESSION, SET_TIF_4_BIT_COMPRESSION, 1},
    {IDS_SET_TIF_8_BIT_COMPRESSION, SET_TIF_8_BIT_COMPRESSION, 1},
    {IDS_SET_TIF_16_BIT_COMPRESSION, SET_TIF_16_BIT_COMPRESSION, 1},
    {IDS_SET_TIF_24_BIT_COMPRESSION, SET_TIF_24_BIT_COMPRESSION, 1},
    {IDS_SET_SAVE_DITHER, SET_SAVE_DITHER, 0},
    {IDS_SET_SAVE_COLORCUT, SET_SAVE_COLORCUT, 0},
    {IDS_SET_SAVE_WARN_COLORLOSS, SET_SAVE_WARN_COLORLOSS, 1},
    {IDS_SET_PAL_FASTMATCH, SET_PAL_FASTMATCH, 1},
    {IDS_SET_SCREEN_BITMAPS, SET_SCREEN_BITMAPS, 0},
    {IDS_SET_METAFILE_SIZE, SET_METAFILE_SIZE, 100},
    {IDS_SET_FAST_DITHER, SET_FAST_DITHER, 1},
    {IDS_SET_CAPTURE_KEY, SET_CAPTURE_KEY, 122}, /* F11 */
    {IDS_SET_KEEP_UNDO, SET_KEEP_UNDO, 1},
    {IDS_SET_STATUS_WND, SET_STATUS_WND, 3},
    {IDS_SET_CAPTURE_MODE, SET_CAPTURE_MODE, 0x202},
    {IDS_SET_LOAD_PROC, SET_LOAD_PROC, -1},
    {IDS_SET_SAVE_PROC, SET_SAVE_PROC, -1},
    {IDS_SET_STARTUP, SET_STARTUP, 0},
    {IDS_SET_COLOR_MATCH, SET_COLOR_MATCH, 1},
    {IDS_SET_DITHER_TYPE, SET_DITHER_TYPE, 2},
    {IDS_SET_METAFILE_PAL, SET_METAFILE_PAL, 0},
    {IDS_SET_CAPTURE_KEY_ALT, SET_CAPTURE_KEY_ALT, 0},
    {IDS_SET_CAPTURE_KEY_CTRL, SET_CAPTURE_KEY_CTRL, 0},
    {IDS_SET_ALPHA_DISPLAY, SET_ALPHA_DISPLAY, 3},
};

static LONG values[SETTINGS_COUNT];
static int changed[SETTINGS_COUNT];
static int haveDefaults;
static SettingsStore store;
static int haveStore;

static const char PRODUCT[] = "Lumacast";
#define VERSION_MAJOR 3u
#define VERSION_MINOR 50u

extern "C" void settings_reset_defaults(void) {
    for (int i = 0; i < SETTINGS_COUNT; i++) {
        values[i] = table[i].defaultValue;
        changed[i] = 0;
    }
    haveDefaults = 1;
}

/* Values read before the start-up load are the defaults. */
static int row_of(UINT offset) {
    if (!haveDefaults) settings_reset_defaults();
    if (offset % 4 != 0 || offset / 4 >= SETTINGS_COUNT) return -1;
    return (int)(offset / 4);
}

extern "C" void settings_set_store(const SettingsStore *s) {
    haveStore = s != NULL;
    if (s)
        store = *s;
    else
        memset(&store, 0, sizeof store);
}

extern "C" LONG settings_read(UINT offset) {
    int row = row_of(offset);
    return row >= 0 ? values[row] : 0;
}

extern "C" void settings_write(UINT offset, LONG value) {
    int row = row_of(offset);
    if (row >= 0) values[row] = value;
}

extern "C" void settings_mark_changed(UINT offset, int flag) {
    int row = row_of(offset);
    if (row >= 0) changed[row] = flag ? 1 : 0;
}

extern "C" int settings_changed(UINT offset) {
    int row = row_of(offset);
    return row >= 0 ? changed[row] : 0;
}

extern "C" LONG settings_default(UINT offset) {
    int row = row_of(offset);
    return row >= 0 ? table[row].defaultValue : 0;
}

extern "C" int settings_name(UINT offset, char *buf, size_t size) {
    int row = row_of(offset);
    if (row < 0 || !buf || size == 0) return 0;
    return LoadStringA(lc_instance(), table[row].nameId, buf, (int)size) > 0;
}

extern "C" int settings_offset_of(const char *name) {
    char buf[33];
    for (int i = 0; i < SETTINGS_COUNT; i++)
        if (settings_name(table[i].offset, buf, sizeof buf) && strcmp(buf, name) == 0) return (int)table[i].offset;
    return -1;
}

static void version_text(char *buf, size_t size) {
    snprintf(buf, size, "%u.%02u", VERSION_MAJOR, VERSION_MINOR);
}

extern "C" const char *settings_product(void) { return PRODUCT; }
extern "C" void settings_version(char *buf, size_t size) { version_text(buf, size); }

static void section_text(char *buf, size_t size) {
    if (LoadStringA(lc_instance(), IDS_SECTION_CORE, buf, (int)size) <= 0) snprintf(buf, size, "Core");
}

/* The section is opened once for all the values. */
static int open_core_section(void) {
    if (!haveStore || !store.open || !store.read_int) return 0;
    char version[16], section[32];
    version_text(version, sizeof version);
    section_text(section, sizeof section);
    return store.open(store.context, PRODUCT, version, section);
}

/* A missing value leaves the default. */
static LONG read_value(int opened, const char *name, LONG fallback) {
    LONG value = fallback;
    if (opened && !store.read_int(store.context, name, &value)) value = fallback;
    return value;
}

/* A TIFF compression of 0 (LZW) is not offered by this program any more:
   it is used as PackBits, without marking the value changed. */
static void fix_tiff_compression(void) {
    for (UINT offset = SET_TIF_1_BIT_COMPRESSION; offset <= SET_TIF_24_BIT_COMPRESSION; offset += 4)
        if (settings_read(offset) == 0) settings_write(offset, 1);
}

extern "C" void settings_load_all(void) {
    haveDefaults = 1;
    int opened = open_core_section();
    for (int i = 0; i < SETTINGS_COUNT; i++) {
        char name[33];
        changed[i] = 0;
        LoadStringA(lc_instance(), table[i].nameId, name, (int)sizeof name);
        values[i] = read_value(opened, name, table[i].defaultValue);
    }
    if (opened && store.close) store.close(store.context);
    fix_tiff_compression();
}

extern "C" void settings_store_changed(void) {
    char version[16], section[32];
    version_text(version, sizeof version);
    section_text(section, sizeof section);
    for (int i = 0; i < SETTINGS_COUNT; i++) {
        if (!changed[i]) continue;
        changed[i] = 0;
        if (!haveStore || !store.open || !store.write_text) continue;
        char name[33], text[16];
        LoadStringA(lc_instance(), table[i].nameId, name, (int)sizeof name);
        snprintf(text, sizeof text, "%d", (int)values[i]);
        if (store.open(store.context, PRODUCT, version, section)) {
            store.write_text(store.context, name, text);
            if (store.close) store.close(store.context);
        }
    }
}

extern "C" int settings_section_read(const char *section, const char *name, LONG *value) {
    if (!haveStore || !store.open || !store.read_int) return 0;
    char version[16];
    version_text(version, sizeof version);
    if (!store.open(store.context, PRODUCT, version, section)) return 0;
    int ok = store.read_int(store.context, name, value);
    if (store.close) store.close(store.context);
    return ok;
}

extern "C" int settings_section_write(const char *section, const char *name, LONG value) {
    if (!haveStore || !store.open || !store.write_text) return 0;
    char version[16], text[16];
    version_text(version, sizeof version);
    snprintf(text, sizeof text, "%d", (int)value);
    if (!store.open(store.context, PRODUCT, version, section)) return 0;
    int ok = store.write_text(store.context, name, text);
    if (store.close) store.close(store.context);
    return ok;
}
