/* The values of the JPEG key: HKEY_CURRENT_USER
   Software\OrvantaImaging\Lumacast\JPEG, or, when the key cannot be read,
   section "JPEG" of the profile file "Lumacast" (the value found, or the
   default, is written back there). */
#include <stdio.h>
#include <string.h>

#include "kojpeg_internal.h"

static void key_name(char *name, size_t size) {
    char product[64], section[64];
    if (!LoadStringA(kojpeg_instance(), IDS_KJ_PRODUCT, product, sizeof product)) snprintf(product, sizeof product, "Lumacast");
    if (!LoadStringA(kojpeg_instance(), IDS_KJ_SECTION, section, sizeof section)) snprintf(section, sizeof section, "JPEG");
    snprintf(name, size, "Software\\OrvantaImaging\\%s\\%s", product, section);
}

static HKEY open_key(REGSAM access) {
    char name[160];
    key_name(name, sizeof name);
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, NULL, 0, access, NULL, &key, NULL) != ERROR_SUCCESS) return NULL;
    return key;
}

extern "C" void store_read(const char *name, const char *fallback, char *value, size_t size) {
    HKEY key = open_key(KEY_READ);
    if (key) {
        DWORD type = 0, bytes = (DWORD)size - 1;
        LONG rc = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &bytes);
        RegCloseKey(key);
        if (rc == ERROR_SUCCESS && type == REG_SZ) {
            value[bytes < size ? bytes : size - 1] = '\0';
            return;
        }
        snprintf(value, size, "%s", fallback);
        return;
    }
    GetPrivateProfileStringA("JPEG", name, fallback, value, (DWORD)size, "Lumacast");
    WritePrivateProfileStringA("JPEG", name, value, "Lumacast");
}

extern "C" void store_write(const char *name, const char *value) {
    HKEY key = open_key(KEY_WRITE);
    if (key) {
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
        RegCloseKey(key);
        return;
    }
    WritePrivateProfileStringA("JPEG", name, value, "Lumacast");
}
