#include "codecs/tagged/text_out.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "core/lc_instance.h"

void text_put(ByteSink *s, const char *text, size_t n) {
#ifdef _WIN32
    const char *start = text;
    for (size_t i = 0; i < n; i++) {
        if (text[i] != '\n') continue;
        sink_bytes(s, start, (size_t)(text + i - start));
        sink_bytes(s, "\r\n", 2);
        start = text + i + 1;
    }
    sink_bytes(s, start, (size_t)(text + n - start));
#else
    sink_bytes(s, text, n);
#endif
}

void text_load(UINT id, char *buf, size_t size) {
    if (LoadStringA(lc_instance(), id, buf, (int)size) <= 0) buf[0] = '\0';
}

void text_put_id(ByteSink *s, UINT id, ...) {
    char pattern[256], text[1024];
    text_load(id, pattern, sizeof pattern);
    va_list args;
    va_start(args, id);
    int n = vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    if (n < 0 || (size_t)n >= sizeof text) {
        s->failed = 1;
        return;
    }
    text_put(s, text, (size_t)n);
}
