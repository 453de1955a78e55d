/* Native stand-ins for what Windows gives the plug-in: the values of the
   JPEG key (kept in memory), the display depth, the sheet (a fixed quality
   level) and the password of a locked PIC. */
#include <map>
#include <string>
#include <string.h>

#include "kojpeg_hooks.h"

static std::map<std::string, std::string> &values() {
    static std::map<std::string, std::string> stored;
    return stored;
}

extern "C" void kojpeg_store_reset(void) { values().clear(); }

extern "C" void store_read(const char *name, const char *fallback, char *value, size_t size) {
    auto it = values().find(name);
    const char *text = it == values().end() ? fallback : it->second.c_str();
    snprintf(value, size, "%s", text);
}

extern "C" void store_write(const char *name, const char *value) { values()[name] = value; }

static int displayBits = 24;
static int nativeLevel = 10;
static char loadPassword[TAVN_PASSWORD_MAX + 1];

extern "C" void kojpeg_set_display_bits(int bits) { displayBits = bits ? bits : 24; }
extern "C" int kojpeg_display_bits(void) { return displayBits; }
extern "C" void kojpeg_set_native_level(int level) {
    nativeLevel = level < 0 ? 0 : level >= KOJPEG_LEVELS ? KOJPEG_LEVELS - 1 : level;
}

extern "C" void kojpeg_set_load_password(const char *password) {
    snprintf(loadPassword, sizeof loadPassword, "%s", password ? password : "");
}

extern "C" int kojpeg_load_password(char *password) {
    if (!loadPassword[0]) return 0;
    memcpy(password, loadPassword, sizeof loadPassword);
    return 1;
}

/* The sheet as if OK was pressed with the slider at the native level. */
extern "C" int kojpeg_sheet_default(int, JpegOptions *o, int *) {
    const JpegLevel *l = kojpeg_level((unsigned)nativeLevel);
    o->optimumChoice = (DWORD)nativeLevel;
    o->luminance = l->luminance;
    o->chrominance = l->chrominance;
    o->subsample = l->subsample;
    return 1;
}
