#include "codecs/common/byte_source.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/codec_report.h"
#include "codecs/common/file_view.h"

extern "C" int codec_file_read(const char *path, CodecFile *file, int *tooLarge) {
    file->data = NULL;
    file->size = 0;
    if (tooLarge) *tooLarge = 0;
    FILE *f = fopen(path, "rb");
    if (!f) return 0;
    long end = -1;
    if (fseek(f, 0, SEEK_END) == 0) end = ftell(f);
    if (end < 0 || fseek(f, 0, SEEK_SET) != 0) {
        fclose(f);
        return 0;
    }
    if ((unsigned long)end > LC_MAX_FILE_BYTES) {
        if (tooLarge) *tooLarge = 1;
        fclose(f);
        return 0;
    }
    size_t size = (size_t)end;
    BYTE *data = (BYTE *)malloc(size ? size : 1);
    if (!data) {
        if (tooLarge) *tooLarge = 1;
        fclose(f);
        return 0;
    }
    size_t got = size ? fread(data, 1, size, f) : 0;
    fclose(f);
    if (got != size) {
        free(data);
        return 0;
    }
    file->data = data;
    file->size = size;
    return 1;
}

extern "C" void codec_file_free(CodecFile *file) {
    free(file->data);
    file->data = NULL;
    file->size = 0;
}

extern "C" int codec_load_whole_file(const char *path, HGLOBAL *out, UINT tooLargeId, CodecDecodeProc decode) {
    if (!out) return 0;
    *out = NULL;
    FileView file;
    int tooLarge;
    if (!file_view_open(path, &file, &tooLarge)) return tooLarge ? load_format_error(tooLargeId) : 0;
    int ok = decode(file.data, file.size, out);
    file_view_close(&file);
    return ok;
}

extern "C" void bs_init(ByteSource *s, const void *data, size_t size) {
    s->data = (const BYTE *)data;
    s->size = data ? size : 0;
    s->pos = 0;
    s->overrun = 0;
}

extern "C" WORD bs_u16le(ByteSource *s) {
    const BYTE *p = bs_take(s, 2);
    return p ? (WORD)(p[0] | (p[1] << 8)) : 0;
}

extern "C" DWORD bs_u32le(ByteSource *s) {
    const BYTE *p = bs_take(s, 4);
    return p ? (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24) : 0;
}

extern "C" WORD bs_u16be(ByteSource *s) {
    const BYTE *p = bs_take(s, 2);
    return p ? (WORD)((p[0] << 8) | p[1]) : 0;
}

extern "C" DWORD bs_u32be(ByteSource *s) {
    const BYTE *p = bs_take(s, 4);
    return p ? ((DWORD)p[0] << 24) | ((DWORD)p[1] << 16) | ((DWORD)p[2] << 8) | (DWORD)p[3] : 0;
}

extern "C" int bs_read(ByteSource *s, void *dst, size_t n) {
    size_t have = bs_remaining(s);
    size_t take = n < have ? n : have;
    if (take) memcpy(dst, s->data + s->pos, take);
    if (take < n) {
        memset((BYTE *)dst + take, 0, n - take);
        s->overrun = 1;
    }
    s->pos += take;
    return take == n;
}

extern "C" const BYTE *bs_take(ByteSource *s, size_t n) {
    if (n > bs_remaining(s)) {
        s->overrun = 1;
        return NULL;
    }
    const BYTE *p = s->data + s->pos;
    s->pos += n;
    return p;
}

extern "C" int bs_seek(ByteSource *s, size_t pos) {
    if (pos > s->size) {
        s->overrun = 1;
        return 0;
    }
    s->pos = pos;
    return 1;
}

extern "C" int bs_skip(ByteSource *s, size_t n) {
    if (n > bs_remaining(s)) {
        s->pos = s->size;
        s->overrun = 1;
        return 0;
    }
    s->pos += n;
    return 1;
}
