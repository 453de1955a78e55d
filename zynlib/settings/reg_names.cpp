// The library-wide state of the settings store (company name, name format
// flag), the rewriting of value names and the key paths.
#include <stdio.h>
#include <string.h>

#include "settings/settings_internal.h"

namespace {

char g_company[ZYN_REG_COMPANY_MAX + 1] = "OrvantaImaging";
BOOL g_nameFormat = TRUE;

// a and z stay as they are: names such as alpha_display keep their first
// letter.
bool raised_letter(char c) { return c >= 'b' && c <= 'y'; }

bool append_part(char *out, size_t size, size_t *used, const char *part) {
    size_t n = strlen(part);
    if (n == 0 || *used + 1 + n >= size) return false;
    out[(*used)++] = '\\';
    memcpy(out + *used, part, n + 1);
    *used += n;
    return true;
}

}  // namespace

extern "C" void zyn_reg_set_company(const char *company) {
    if (!company) return;
    size_t n = strlen(company);
    if (n > ZYN_REG_COMPANY_MAX) n = ZYN_REG_COMPANY_MAX;
    memcpy(g_company, company, n);
    g_company[n] = '\0';
}

extern "C" const char *zyn_reg_company(void) { return g_company; }

extern "C" void zyn_reg_set_name_format(BOOL on) { g_nameFormat = on ? TRUE : FALSE; }

extern "C" BOOL zyn_reg_name_format(void) { return g_nameFormat; }

extern "C" void zyn_reg_rewrite_name(char *name) {
    if (!name) return;
    if (raised_letter(name[0])) name[0] = (char)(name[0] - 'a' + 'A');
    for (char *p = name; *p; ++p) {
        if (*p != '_') continue;
        *p = ' ';
        if (raised_letter(p[1])) p[1] = (char)(p[1] - 'a' + 'A');
    }
}

extern "C" void zyn_reg_apply_name_format(char *name) {
    if (g_nameFormat) zyn_reg_rewrite_name(name);
}

extern "C" int zyn_reg_key_path(char *out, size_t size, const char *root, const char *product,
                                const char *version, const char *section) {
    if (!out || size == 0 || !root) return 0;
    out[0] = '\0';
    size_t used = strlen(root);
    if (used == 0 || used >= size) return 0;
    memcpy(out, root, used + 1);
    const char *parts[] = {g_company, product, version, section};
    for (const char *part : parts) {
        if (!part) break;
        if (!append_part(out, size, &used, part)) {
            out[0] = '\0';
            return 0;
        }
    }
    return 1;
}
