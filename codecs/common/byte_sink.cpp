#include "codecs/common/byte_sink.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static void flush(ByteSink *s) {
    if (s->used && !s->failed && fwrite(s->buffer, 1, s->used, s->file) != s->used) s->failed = 1;
    s->used = 0;
}

extern "C" int sink_open(ByteSink *s, const char *path) {
    s->used = 0;
    s->failed = 0;
    s->file = fopen(path, "wb");
    return s->file != NULL;
}

extern "C" void sink_bytes(ByteSink *s, const void *data, size_t n) {
    if (!s->file) {
        s->failed = 1;
        return;
    }
    if (s->used == LC_SINK_BUFFER) flush(s);
    const BYTE *p = (const BYTE *)data;
    while (n) {
        if (n >= LC_SINK_BUFFER && s->used == 0) {
            if (!s->failed && fwrite(p, 1, n, s->file) != n) s->failed = 1;
            return;
        }
        size_t room = LC_SINK_BUFFER - s->used;
        size_t take = n < room ? n : room;
        memcpy(s->buffer + s->used, p, take);
        s->used += take;
        p += take;
        n -= take;
        if (s->used == LC_SINK_BUFFER) flush(s);
    }
}

extern "C" void sink_fill(ByteSink *s, BYTE value, size_t n) {
    while (n--) sink_u8(s, value);
}

extern "C" void sink_u16le(ByteSink *s, WORD v) {
    BYTE b[2] = {(BYTE)v, (BYTE)(v >> 8)};
    sink_bytes(s, b, 2);
}

extern "C" void sink_u32le(ByteSink *s, DWORD v) {
    BYTE b[4] = {(BYTE)v, (BYTE)(v >> 8), (BYTE)(v >> 16), (BYTE)(v >> 24)};
    sink_bytes(s, b, 4);
}

extern "C" void sink_u16be(ByteSink *s, WORD v) {
    BYTE b[2] = {(BYTE)(v >> 8), (BYTE)v};
    sink_bytes(s, b, 2);
}

extern "C" void sink_u32be(ByteSink *s, DWORD v) {
    BYTE b[4] = {(BYTE)(v >> 24), (BYTE)(v >> 16), (BYTE)(v >> 8), (BYTE)v};
    sink_bytes(s, b, 4);
}

extern "C" int sink_printf(ByteSink *s, const char *format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0 || (size_t)n >= sizeof text) {
        s->failed = 1;
        return 0;
    }
    sink_bytes(s, text, (size_t)n);
    return n;
}

extern "C" int sink_close(ByteSink *s) {
    if (!s->file) return 0;
    flush(s);
    if (fclose(s->file) != 0) s->failed = 1;
    s->file = NULL;
    return !s->failed;
}

extern "C" void sink_abandon(ByteSink *s, const char *path) {
    if (s->file) fclose(s->file);
    s->file = NULL;
    s->failed = 1;
    remove(path);
}

extern "C" int sink_finish(ByteSink *s, const char *path, int written, int *closeFailed) {
    *closeFailed = 0;
    if (written) {
        if (sink_close(s)) return 1;
        *closeFailed = 1;
    }
    sink_abandon(s, path);
    return 0;
}
