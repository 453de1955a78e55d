// The switch file through the profile calls of Windows.
#include <stdio.h>

#include "platform.h"
#include "style_profile.h"

extern "C" int sty_profile_int(const char *section, const char *key, int fallback, const char *file) {
    return (int)GetPrivateProfileIntA(section, key, fallback, file);
}

extern "C" void sty_profile_write(const char *section, const char *key, int value, const char *file) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(section, key, text, file);
}
