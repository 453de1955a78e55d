// The settings keys and their values.  A value is a subkey of the section
// key, named by the value name, whose default value holds its text.
#include <stdlib.h>
#include <string.h>

#include "settings/settings_internal.h"

namespace {

HKEY open_section(HKEY root, const char *rootName, LPCSTR product, LPCSTR version, LPCSTR section) {
    char path[ZYN_REG_PATH_MAX];
    if (!product || !version || !section) return nullptr;
    if (!zyn_reg_key_path(path, sizeof path, rootName, product, version, section)) return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// The text of a value into text (ZYN_REG_READ_MAX bytes); false when the
// value is missing, is not a string or does not fit.
bool read_text(HKEY key, LPSTR name, char *text) {
    if (!key || !name || !name[0]) return false;
    zyn_reg_apply_name_format(name);
    HKEY value = nullptr;
    if (RegOpenKeyExA(key, name, 0, KEY_QUERY_VALUE, &value) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = ZYN_REG_READ_MAX;
    LONG r = RegQueryValueExA(value, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(value);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // The data need not end in a zero; it must still leave room for one.
    if (size > 0 && text[size - 1] == '\0') return true;
    if (size >= ZYN_REG_READ_MAX) return false;
    text[size] = '\0';
    return true;
}

// text[length] is a zero when terminated is set; otherwise it may lie past
// the caller's buffer and is never read.
LONG write_text(HKEY key, LPSTR name, const char *text, size_t length, bool terminated) {
    if (!key) return ERROR_INVALID_HANDLE;
    // An empty name would address the section key itself.
    if (!name || !name[0] || !text) return ERROR_INVALID_PARAMETER;
    zyn_reg_apply_name_format(name);
    HKEY value = nullptr;
    LONG r = RegCreateKeyExA(key, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &value,
                             nullptr);
    if (r != ERROR_SUCCESS) return r;
    // The registry wants the closing zero; a text cut short needs a copy.
    char *copy = nullptr;
    if (!terminated) {
        copy = static_cast<char *>(malloc(length + 1));
        if (!copy) {
            RegCloseKey(value);
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        memcpy(copy, text, length);
        copy[length] = '\0';
    }
    r = RegSetValueExA(value, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(copy ? copy : text),
                       (DWORD)(length + 1));
    free(copy);
    RegCloseKey(value);
    return r;
}

LONG write_number(HKEY key, LPSTR name, const char *text) { return write_text(key, name, text, strlen(text), true); }

bool read_number(HKEY key, LPSTR name, DWORD *bits, bool hex) {
    char text[ZYN_REG_READ_MAX];
    if (!read_text(key, name, text)) return false;
    *bits = hex ? zyn_reg_parse_hex(text) : zyn_reg_parse_decimal(text);
    return true;
}

// The getters and setters of every number type: one parse or format, then
// the conversion to the caller's type.
template <class T, class Convert>
BOOL get_number(HKEY key, LPSTR name, T *value, bool hex, Convert convert) {
    DWORD bits;
    if (!value || !read_number(key, name, &bits, hex)) return FALSE;
    *value = convert(bits);
    return TRUE;
}

template <class T>
BOOL get_number(HKEY key, LPSTR name, T *value, bool hex) {
    return get_number(key, name, value, hex, [](DWORD bits) { return (T)bits; });
}

template <class T, class Format>
LONG set_number(HKEY key, LPSTR name, T value, Format format) {
    char text[ZYN_REG_NUMBER_TEXT];
    format(text, value);
    return write_number(key, name, text);
}

}  // namespace

extern "C" void WINAPI ZYN_REG_SetCompany(LPCSTR company) { zyn_reg_set_company(company); }

extern "C" void WINAPI ZYN_REG_SetFormat(BOOL on) { zyn_reg_set_name_format(on); }

extern "C" HKEY WINAPI ZYN_REG_OpenSettings(LPCSTR product, LPCSTR version, LPCSTR section) {
    return open_section(HKEY_CURRENT_USER, "Software", product, version, section);
}

extern "C" HKEY WINAPI ZYN_REG_OpenMachineSettings(LPCSTR product, LPCSTR version, LPCSTR section) {
    return open_section(HKEY_LOCAL_MACHINE, "SOFTWARE", product, version, section);
}

extern "C" void WINAPI ZYN_REG_CloseSettings(HKEY key) {
    if (key) RegCloseKey(key);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueString(HKEY key, LPSTR name, LPSTR buffer) {
    char text[ZYN_REG_READ_MAX];
    if (!buffer || !read_text(key, name, text)) return FALSE;
    memcpy(buffer, text, strlen(text) + 1);
    return TRUE;
}

extern "C" LONG WINAPI ZYN_REG_SetValueString(HKEY key, LPSTR name, LPCSTR text, DWORD length) {
    if (!text) return ERROR_INVALID_PARAMETER;
    // Never past the end of the caller's text, whatever length says.
    size_t n = 0;
    while (n < length && text[n]) ++n;
    return write_text(key, name, text, n, n < length);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueDWord(HKEY key, LPSTR name, DWORD *value) {
    return get_number(key, name, value, false);
}

extern "C" LONG WINAPI ZYN_REG_SetValueDWord(HKEY key, LPSTR name, DWORD value) {
    return set_number(key, name, value, zyn_reg_format_dword);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueLong(HKEY key, LPSTR name, LONG *value) {
    return get_number(key, name, value, false);
}

extern "C" LONG WINAPI ZYN_REG_SetValueLong(HKEY key, LPSTR name, LONG value) {
    return set_number(key, name, value, zyn_reg_format_long);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueInt(HKEY key, LPSTR name, int *value) {
    return get_number(key, name, value, false);
}

extern "C" LONG WINAPI ZYN_REG_SetValueInt(HKEY key, LPSTR name, int value) {
    return set_number(key, name, value, zyn_reg_format_int);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueLHex(HKEY key, LPSTR name, DWORD *value) {
    return get_number(key, name, value, true);
}

extern "C" LONG WINAPI ZYN_REG_SetValueLHex(HKEY key, LPSTR name, DWORD value) {
    return set_number(key, name, value, zyn_reg_format_lhex);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueSInt(HKEY key, LPSTR name, short *value) {
    return get_number(key, name, value, false, [](DWORD bits) -> short { return (short)(WORD)bits; });
}

extern "C" LONG WINAPI ZYN_REG_SetValueSInt(HKEY key, LPSTR name, short value) {
    return set_number(key, name, value, zyn_reg_format_sint);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueWord(HKEY key, LPSTR name, WORD *value) {
    return get_number(key, name, value, false);
}

extern "C" LONG WINAPI ZYN_REG_SetValueWord(HKEY key, LPSTR name, WORD value) {
    return set_number(key, name, value, zyn_reg_format_word);
}

extern "C" BOOL WINAPI ZYN_REG_GetValueBool(HKEY key, LPSTR name, BOOL *value) {
    return get_number(key, name, value, false, [](DWORD bits) -> BOOL { return bits != 0; });
}

extern "C" LONG WINAPI ZYN_REG_SetValueBool(HKEY key, LPSTR name, BOOL value) {
    return set_number(key, name, value, zyn_reg_format_bool);
}
