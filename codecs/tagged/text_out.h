/* Text written as the C runtime's text mode writes it: a line feed becomes
   carriage return and line feed on Windows and stays as it is elsewhere.
   Used by the writers whose files are text (HEX, EPS). */
#ifndef LC_CODECS_TEXT_OUT_H
#define LC_CODECS_TEXT_OUT_H

#include <stddef.h>

#include "codecs/common/byte_sink.h"

void text_put(ByteSink *s, const char *text, size_t n);
/* Formats the string-table text `id` with the arguments and writes it. */
void text_put_id(ByteSink *s, UINT id, ...);
/* Loads the string-table text `id` (empty when missing). */
void text_load(UINT id, char *buf, size_t size);
/* Two upper-case hexadecimal digits of a byte. */
static inline void hex_pair(BYTE v, char *out) {
    static const char digits[] = "0123456789ABCDEF";
    out[0] = digits[v >> 4];
    out[1] = digits[v & 15];
}

#endif
