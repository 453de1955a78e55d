// Listing and deleting keys of the settings store.
#include <string.h>

#include "settings/settings_internal.h"

namespace {

// Longest key name the registry allows, with its zero.
const DWORD kKeyNameMax = 256;

// Keys are removed with everything below them: a section holds one key per
// value, and the registry of the NT family refuses to delete a key that
// still has subkeys.
LONG delete_tree(HKEY parent, const char *name, int depth) {
    if (depth > 64) return ERROR_BAD_PATHNAME;
    HKEY key = nullptr;
    LONG r = RegOpenKeyExA(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key);
    if (r != ERROR_SUCCESS) return r;
    char child[kKeyNameMax];
    for (;;) {
        DWORD size = kKeyNameMax;
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (delete_tree(key, child, depth + 1) != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name);
}

// Opens (creating it when missing) the parent path under one root and
// deletes the child there.
void delete_below(HKEY root, const char *product, const char *version, const char *child) {
    char path[ZYN_REG_PATH_MAX];
    if (!zyn_reg_key_path(path, sizeof path, "Software", product, version, nullptr)) return;
    HKEY parent = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent,
                        nullptr) != ERROR_SUCCESS)
        return;
    delete_tree(parent, child, 0);
    RegCloseKey(parent);
}

void delete_both(const char *product, const char *version, const char *child) {
    if (!child || !child[0]) return;
    delete_below(HKEY_CURRENT_USER, product, version, child);
    delete_below(HKEY_LOCAL_MACHINE, product, version, child);
}

}  // namespace

extern "C" UINT WINAPI ZYN_REG_GetEntries(HKEY key, LPSTR buffer) {
    if (!key || !buffer) return 0;
    UINT count = 0;
    char *out = buffer;
    char name[kKeyNameMax];
    for (DWORD i = 0;; ++i) {
        DWORD size = kKeyNameMax;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        size_t n = strlen(name);
        if (n > ZYN_REG_ENTRY_MAX) n = ZYN_REG_ENTRY_MAX;
        memcpy(out, name, n);
        out[n] = '\0';
        out += n + 1;
        ++count;
    }
    *out = '\0';
    return count;
}

extern "C" BOOL WINAPI ZYN_REG_DeleteKey(HKEY key, LPCSTR subkey) {
    // An empty name would be the key itself.
    if (!key || !subkey || !subkey[0]) return FALSE;
    return delete_tree(key, subkey, 0) == ERROR_SUCCESS;
}

extern "C" void WINAPI ZYN_REG_DeleteSection(LPCSTR product, LPCSTR version, LPCSTR section) {
    if (!product || !version) return;
    delete_both(product, version, section);
}

extern "C" void WINAPI ZYN_REG_DeleteVersion(LPCSTR product, LPCSTR version) {
    if (!product) return;
    delete_both(product, nullptr, version);
}

extern "C" void WINAPI ZYN_REG_DeleteProduct(LPCSTR product) { delete_both(nullptr, nullptr, product); }
