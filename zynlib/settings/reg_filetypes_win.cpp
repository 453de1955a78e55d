// File-type registration under HKEY_CLASSES_ROOT: the type key
// ("<type>.Image" or "<type>.Project"), its class identifier and the
// extensions that point at the type.
#include <stdio.h>
#include <string.h>

#include "settings/settings_internal.h"

namespace {

// Suffixes of the type key.
const char kImage[] = "Image";
const char kProject[] = "Project";

// Key and value texts are formed into buffers of this size; a text that
// would not fit is not written at all.
const size_t kText = ZYN_REG_PATH_MAX;

bool set_default_text(HKEY root, const char *keyName, const char *text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), (DWORD)strlen(text) + 1);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

// snprintf that reports whether the whole text fitted.
template <typename... Args>
bool form(char *out, const char *pattern, Args... args) {
    int n = snprintf(out, kText, pattern, args...);
    return n >= 0 && (size_t)n < kText;
}

// One key with its default value, both formed from patterns.
struct Entry {
    char key[kText];
    char value[kText];
};

bool write_type_keys(HKEY root, const char *sfx, const char *type, const char *program,
                     const char *classId, const char *icon) {
    static Entry e;  // 2 KB; the library serves one caller at a time
    bool ok = true;
    ok = ok && form(e.key, "%s.%s", type, sfx) && form(e.value, "%s %s", type, sfx) &&
         set_default_text(root, e.key, e.value);
    ok = ok && form(e.key, "%s.%s\\shell\\open\\command", type, sfx) && form(e.value, "%s %%1", program) &&
         set_default_text(root, e.key, e.value);
    ok = ok && form(e.key, "%s.%s\\CLSID", type, sfx) && set_default_text(root, e.key, classId);
    ok = ok && form(e.key, "CLSID\\%s", classId) && form(e.value, "%s %s", type, sfx) &&
         set_default_text(root, e.key, e.value);
    ok = ok && form(e.key, "CLSID\\%s\\DefaultIcon", classId) && form(e.value, "%s,%s", program, icon) &&
         set_default_text(root, e.key, e.value);
    ok = ok && form(e.key, "CLSID\\%s\\shell\\open\\command", classId) && form(e.value, "%s %%1", program) &&
         set_default_text(root, e.key, e.value);
    ok = ok && form(e.key, "CLSID\\%s\\ProgID", classId) && form(e.value, "%s.%s", type, sfx) &&
         set_default_text(root, e.key, e.value);
    return ok;
}

// The root of HKEY_CLASSES_ROOT stays open for the extension calls.
BOOL open_type(HKEY *out, const char *sfx, LPCSTR type, LPCSTR program, LPCSTR classId, UINT icon) {
    if (!out) return FALSE;
    *out = nullptr;
    if (!type || !type[0] || !program || !classId || !classId[0]) return FALSE;
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "", 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS) return FALSE;
    char iconText[ZYN_REG_NUMBER_TEXT];
    snprintf(iconText, sizeof iconText, "%u", icon);
    if (!write_type_keys(root, sfx, type, program, classId, iconText)) {
        RegCloseKey(root);
        return FALSE;
    }
    *out = root;
    return TRUE;
}

// Whether ".ext" already names a type: a key with a non-empty default value.
bool has_owner(HKEY root, const char *extKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, extKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    // size counts the closing zero: an empty text is 1 byte or none.
    return r == ERROR_SUCCESS && size > 1;
}

BOOL set_extension(HKEY root, const char *sfx, LPCSTR extension, LPCSTR type) {
    if (!root || !extension || !extension[0] || !type || !type[0]) return FALSE;
    char extKey[kText], value[kText];
    if (!form(extKey, ".%s", extension) || !form(value, "%s.%s", type, sfx)) return FALSE;
    // An extension that belongs to another program keeps its owner.
    if (has_owner(root, extKey)) return FALSE;
    return set_default_text(root, extKey, value);
}

}  // namespace

extern "C" BOOL WINAPI ZYN_REG_OpenImageExt(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId, UINT icon) {
    return open_type(key, kImage, type, program, classId, icon);
}

extern "C" BOOL WINAPI ZYN_REG_OpenImageExtDDE(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId) {
    return open_type(key, kImage, type, program, classId, 5);
}

extern "C" BOOL WINAPI ZYN_REG_OpenProjectExt(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId) {
    return open_type(key, kProject, type, program, classId, 4);
}

extern "C" BOOL WINAPI ZYN_REG_SetImageExt(HKEY key, LPCSTR extension, LPCSTR type) {
    return set_extension(key, kImage, extension, type);
}

extern "C" BOOL WINAPI ZYN_REG_SetProjectExt(HKEY key, LPCSTR extension, LPCSTR type) {
    return set_extension(key, kProject, extension, type);
}

extern "C" void WINAPI ZYN_REG_CloseExtensions(HKEY key) {
    if (key) RegCloseKey(key);
}
