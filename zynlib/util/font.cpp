// The library's dialog font: face name and character set from its own
// string table (512, 513), so a translation can change them.
#include <string.h>

#include "zyn_internal.h"

namespace {

const int kFaceSize = 32;  // LF_FACESIZE
char g_face[kFaceSize] = "";
int g_charset = 0;
bool g_read = false;

struct CharsetName {
    const char *name;
    int value;
};

const CharsetName kCharsets[] = {{"ANSI", 0}, {"SYMBOL", 2}, {"SHIFTJIS", 128}, {"OEM", 255}};

void read_font(void) {
    if (LoadStringA(zyn_instance(), IDS_ZYN_FONT_FACE, g_face, kFaceSize) == 0) strcpy(g_face, "Arial");
    char name[32];
    LoadStringA(zyn_instance(), IDS_ZYN_FONT_CHARSET, name, sizeof name);
    g_charset = zyn_charset_from_name(name);
    g_read = true;
}

}  // namespace

extern "C" int zyn_charset_from_name(const char *name) {
    for (const CharsetName &c : kCharsets)
        if (name && strcmp(name, c.name) == 0) return c.value;
    return 0;
}

extern "C" void zyn_font_init(void) { read_font(); }

extern "C" const char *zyn_font_face(void) {
    if (!g_read) read_font();
    return g_face;
}

extern "C" int zyn_font_charset(void) {
    if (!g_read) read_font();
    return g_charset;
}
