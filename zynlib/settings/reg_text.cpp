// Text forms of the value kinds: every number is kept as text, so one
// encoding serves them all.
#include <stdio.h>

#include "settings/settings_internal.h"

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

// Unsigned arithmetic throughout: a text longer than 32 bits wraps instead
// of overflowing.
extern "C" DWORD zyn_reg_parse_decimal(const char *text) {
    if (!text) return 0;
    const char *p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    DWORD value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + (DWORD)(*p - '0');
    return negative ? 0u - value : value;
}

extern "C" DWORD zyn_reg_parse_hex(const char *text) {
    if (!text) return 0;
    DWORD value = 0;
    for (int d; (d = hex_digit(*text)) >= 0; ++text) value = (value << 4) | (DWORD)d;
    return value;
}

extern "C" void zyn_reg_format_dword(char *out, DWORD value) {
    snprintf(out, ZYN_REG_NUMBER_TEXT, "%lu", (unsigned long)value);
}

extern "C" void zyn_reg_format_long(char *out, LONG value) {
    snprintf(out, ZYN_REG_NUMBER_TEXT, "%ld", (long)value);
}

extern "C" void zyn_reg_format_int(char *out, int value) { snprintf(out, ZYN_REG_NUMBER_TEXT, "%d", value); }

extern "C" void zyn_reg_format_lhex(char *out, DWORD value) {
    snprintf(out, ZYN_REG_NUMBER_TEXT, "%lx", (unsigned long)value);
}

extern "C" void zyn_reg_format_sint(char *out, int value) {
    snprintf(out, ZYN_REG_NUMBER_TEXT, "%d", (int)(short)(WORD)value);
}

extern "C" void zyn_reg_format_word(char *out, UINT value) {
    snprintf(out, ZYN_REG_NUMBER_TEXT, "%u", (unsigned)(WORD)value);
}

extern "C" void zyn_reg_format_bool(char *out, UINT value) { snprintf(out, ZYN_REG_NUMBER_TEXT, "%u", value); }
