#include "shell/startup/handover.h"

#include <string.h>

static void put_word(BYTE *p, DWORD v) {
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

static DWORD get_word(const BYTE *p) {
    return (DWORD)p[0] | (DWORD)p[1] << 8 | (DWORD)p[2] << 16 | (DWORD)p[3] << 24;
}

static size_t path_room(size_t size) {
    size_t room = size > HO_PATH ? size - HO_PATH : 0;
    return room < HANDOVER_PATH_MAX ? room : HANDOVER_PATH_MAX;
}

extern "C" int handover_encode(BYTE *block, size_t size, const char *path, DWORD address) {
    if (!block || !path || !*path || size < HO_PATH) return 0;
    size_t n = strlen(path);
    if (n + 1 > path_room(size)) return 0;
    put_word(block + HO_CODE, 0xFFFFFFFFu);
    put_word(block + HO_ADDRESS, address);
    memcpy(block + HO_PATH, path, n + 1);
    return 1;
}

extern "C" int handover_decode(const BYTE *block, size_t size, char *path, size_t pathSize, DWORD *code) {
    if (!block || size < HO_PATH || !path || pathSize == 0) return 0;
    size_t room = path_room(size);
    const BYTE *text = block + HO_PATH;
    const void *nul = memchr(text, 0, room);
    if (!nul) return 0;
    size_t n = (size_t)((const BYTE *)nul - text);
    if (n == 0 || n + 1 > pathSize) return 0;
    memcpy(path, text, n + 1);
    if (code) *code = get_word(block + HO_CODE);
    return 1;
}

extern "C" void handover_write_result(BYTE *block, size_t size, DWORD index, DWORD address) {
    if (!block || size < HO_PATH) return;
    put_word(block + HO_INDEX, index);
    put_word(block + HO_ADDRESS, address);
}
