// The date in the user's short date format.  The pattern is parsed here;
// where it comes from is the platform's business.
#include <stdio.h>
#include <string.h>

#include "util_internal.h"

namespace {

const int kMaxSeparator = 4;

struct Field {
    char kind;  // 'M', 'd' or 'y'
    int width;  // letters in the pattern
};

// Reads one field: a run of one letter whose length is allowed for it.
const char *read_field(const char *p, Field *f) {
    char c = *p;
    if (c != 'M' && c != 'd' && c != 'y') return nullptr;
    int n = 0;
    while (p[n] == c) ++n;
    bool ok = c == 'y' ? (n == 2 || n == 4) : (n == 1 || n == 2);
    if (!ok) return nullptr;
    f->kind = c;
    f->width = n;
    return p + n;
}

const char *read_separator(const char *p, char *sep) {
    int n = 0;
    while (p[n] && !strchr("Mdy", p[n])) {
        if (n == kMaxSeparator) return nullptr;
        sep[n] = p[n];
        ++n;
    }
    sep[n] = '\0';
    return n ? p + n : nullptr;
}

int write_field(char *out, const Field &f, UINT year, UINT month, UINT day) {
    switch (f.kind) {
    case 'M': return sprintf(out, f.width == 2 ? "%02u" : "%u", month);
    case 'd': return sprintf(out, f.width == 2 ? "%02u" : "%u", day);
    default:
        if (f.width == 4 && year < 1900) year += 1900;
        return sprintf(out, f.width == 4 ? "%04u" : "%02u", year);
    }
}

}  // namespace

extern "C" void zyn_format_date(char *out, const char *pattern, UINT year, UINT month, UINT day) {
    Field f[3];
    char sep[2][kMaxSeparator + 1];
    const char *p = pattern ? pattern : "";
    bool ok = (p = read_field(p, &f[0])) && (p = read_separator(p, sep[0])) && (p = read_field(p, &f[1])) &&
              (p = read_separator(p, sep[1])) && (p = read_field(p, &f[2])) && *p == '\0';
    ok = ok && f[0].kind != f[1].kind && f[1].kind != f[2].kind && f[0].kind != f[2].kind;
    if (!ok) {
        // 10 + 1 + 11 + 1 + 10 characters at most: within ZYN_DATE_MAX.
        sprintf(out, "%u/%.2d/%.2u", year, (int)day, month);
        return;
    }
    // Three fields of at most 10 digits and two separators of at most 4.
    char *o = out;
    o += write_field(o, f[0], year, month, day);
    o += sprintf(o, "%s", sep[0]);
    o += write_field(o, f[1], year, month, day);
    o += sprintf(o, "%s", sep[1]);
    write_field(o, f[2], year, month, day);
}

extern "C" void WINAPI ZYN_UTI_FormatDate(LPSTR buffer, UINT year, UINT month, UINT day) {
    if (!buffer) return;
    char pattern[32] = "MM/dd/yy";
#ifdef _WIN32
    GetProfileStringA("intl", "sShortDate", "MM/dd/yy", pattern, sizeof pattern);
#endif
    zyn_format_date(buffer, pattern, year, month, day);
}
