/* The PIC container and its password lock. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "tavn13_internal.h"

static const BYTE PIC_MAGIC[6] = {'O', 'V', 'P', 'I', 'C', 0x1A};
#define PIC_VERSION 1

static uint32_t get32(const BYTE *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }
static void put32(BYTE *p, uint32_t v) {
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

/* FNV-1a over the salt, the password and a purpose word, so the check word
   and the key stream seed differ. */
static uint64_t fingerprint(uint32_t salt, const char *password, const char *purpose) {
    uint64_t h = 1469598103934665603ull;
    BYTE s[4];
    put32(s, salt);
    for (BYTE b : s) h = (h ^ b) * 1099511628211ull;
    for (const char *p = password; *p; p++) h = (h ^ (BYTE)*p) * 1099511628211ull;
    h = (h ^ 0xFF) * 1099511628211ull;
    for (const char *p = purpose; *p; p++) h = (h ^ (BYTE)*p) * 1099511628211ull;
    return h;
}

/* xorshift64* key stream, applied in place (its own inverse). */
static void apply_key(BYTE *data, size_t size, uint32_t salt, const char *password) {
    uint64_t x = fingerprint(salt, password, "stream") | 1;
    for (size_t i = 0; i < size; i += 8) {
        x ^= x >> 12;
        x ^= x << 25;
        x ^= x >> 27;
        uint64_t k = x * 2685821657736338717ull;
        for (size_t j = 0; j < 8 && i + j < size; j++) data[i + j] ^= (BYTE)(k >> (8 * j));
    }
}

int tavn_is_pic(const BYTE *data, size_t size) {
    return size >= TAVN_PIC_HEADER && memcmp(data, PIC_MAGIC, sizeof PIC_MAGIC) == 0;
}

int tavn_pic_locked(const BYTE *data) { return (data[7] & TAVN_PIC_LOCKED) != 0; }

BYTE *tavn_pic_open(const BYTE *data, size_t size, const char *given, size_t *jpegSize, LONG *status) {
    char password[TAVN_PASSWORD_MAX + 1] = "";
    if (given) memcpy(password, given, strnlen(given, TAVN_PASSWORD_MAX));
    uint32_t length = get32(data + 8);
    if (data[6] != PIC_VERSION || length > size - TAVN_PIC_HEADER || length < 4) {
        *status = TAVN_ERR_CORRUPT;
        return NULL;
    }
    uint32_t salt = get32(data + 12);
    int locked = tavn_pic_locked(data);
    if (locked && (!password[0] || (uint32_t)fingerprint(salt, password, "check") != get32(data + 16))) {
        *status = TAVN_ERR_PASSWORD;
        return NULL;
    }
    BYTE *jpeg = (BYTE *)malloc(length);
    if (!jpeg) {
        *status = TAVN_ERR_NOMEM;
        return NULL;
    }
    memcpy(jpeg, data + TAVN_PIC_HEADER, length);
    if (locked) apply_key(jpeg, length, salt, password);
    *jpegSize = length;
    return jpeg;
}

BYTE *tavn_pic_wrap(const BYTE *jpeg, size_t size, const char *password, size_t *picSize) {
    if (size > 0xFFFFFFFFu - TAVN_PIC_HEADER) return NULL;
    BYTE *pic = (BYTE *)malloc(size + TAVN_PIC_HEADER);
    if (!pic) return NULL;
    /* The salt only has to differ between images; the stream's own bytes do. */
    uint32_t salt = (uint32_t)fingerprint((uint32_t)size, "", "salt");
    for (size_t i = 0; i < size && i < 4096; i++) salt = (salt ^ jpeg[i]) * 16777619u;
    int locked = password && password[0];
    memcpy(pic, PIC_MAGIC, sizeof PIC_MAGIC);
    pic[6] = PIC_VERSION;
    pic[7] = locked ? TAVN_PIC_LOCKED : 0;
    put32(pic + 8, (uint32_t)size);
    put32(pic + 12, salt);
    put32(pic + 16, locked ? (uint32_t)fingerprint(salt, password, "check") : 0);
    memcpy(pic + TAVN_PIC_HEADER, jpeg, size);
    if (locked) apply_key(pic + TAVN_PIC_HEADER, size, salt, password);
    *picSize = size + TAVN_PIC_HEADER;
    return pic;
}
