#include "core/save_as.h"

#include <string.h>

#include "core/catalogue.h"
#include "lumacast_strings.h"

/* Names must stay within what the old file systems and the 128-byte host
   path fields can hold. */
#define MAX_EXTENSION 3
#define MAX_NAME 128

static const char *file_name_part(const char *path) {
    const char *name = path;
    for (const char *p = path; *p; p++)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

extern "C" UINT save_name_problem(const char *path) {
    if (!path) return IDS_ILLEGAL_DOS_NAME;
    const char *name = file_name_part(path);
    const char *dot = strchr(name, '.');
    size_t base = dot ? (size_t)(dot - name) : strlen(name);
    if (dot && strlen(dot + 1) > MAX_EXTENSION) return IDS_ILLEGAL_DOS_EXTENSION;
    if (base > MAX_NAME) return IDS_ILLEGAL_DOS_NAME;
    return 0;
}

extern "C" int save_loses_color(int bits, int color, int chosenBits, int chosenColor, int formatIndex) {
    if (bits == 32 && formatIndex >= 0 && formatIndex == catalogue_icon_index()) return 0;
    return chosenBits < bits || (color && !chosenColor);
}

static int compose(const char *path, size_t keep, const char *extension, char *out, size_t size) {
    size_t ext = strlen(extension);
    if (keep + 1 + ext + 1 > size) return 0;
    memmove(out, path, keep);
    out[keep] = '.';
    memcpy(out + keep + 1, extension, ext + 1);
    return 1;
}

/* Only the name part is cut: a dot in a directory name ("C:\V1.2\PIC")
   must not cut the path there. */
extern "C" int save_name_with_extension(const char *path, const char *extension, char *out, size_t size) {
    const char *name = file_name_part(path);
    const char *dot = strchr(name, '.');
    size_t keep = dot ? (size_t)(dot - path) : strlen(path);
    return compose(path, keep, extension, out, size);
}

extern "C" int save_name_replace_extension(const char *path, const char *extension, char *out, size_t size) {
    const char *dot = strrchr(file_name_part(path), '.');
    return compose(path, dot ? (size_t)(dot - path) : strlen(path), extension, out, size);
}

extern "C" int save_name_default_extension(const char *path, const char *extension, char *out, size_t size) {
    if (strchr(file_name_part(path), '.')) {
        size_t n = strlen(path);
        if (n + 1 > size) return 0;
        memmove(out, path, n + 1);
        return 1;
    }
    return compose(path, strlen(path), extension, out, size);
}
