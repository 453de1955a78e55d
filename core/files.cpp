#include "core/files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>
#endif

extern "C" int lc_file_exists(const char *path) {
    if (!path || !*path) return 0;
#ifdef _WIN32
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
#endif
}

extern "C" int lc_full_path(const char *path, char *out, size_t size) {
    if (!lc_file_exists(path) || size == 0) return 0;
#ifdef _WIN32
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, sizeof full, full, NULL);
    if (n == 0 || n >= sizeof full) return 0;
#else
    char *full = realpath(path, NULL);
    if (!full) return 0;
    size_t n = strlen(full);
#endif
    int fits = (size_t)n < size;
    if (fits) memcpy(out, full, (size_t)n + 1);
#ifndef _WIN32
    free(full);
#endif
    return fits;
}

/* Length of the directory part of path, separator included. */
static size_t directory_length(const char *path) {
    size_t cut = 0;
    for (size_t i = 0; path[i]; i++)
        if (path[i] == '/' || path[i] == '\\' || (path[i] == ':' && i == 1)) cut = i + 1;
    return cut;
}

static int create_exclusive(const char *name) {
#ifdef _WIN32
    int fd = _open(name, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return errno == EEXIST ? -1 : 0;
    _close(fd);
#else
    int fd = open(name, O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd < 0) return errno == EEXIST ? -1 : 0;
    close(fd);
#endif
    return 1;
}

extern "C" int lc_create_temp_beside(const char *target, char *out, size_t size) {
    static unsigned counter;
    size_t dir = directory_length(target);
#ifdef _WIN32
    unsigned stamp = (unsigned)GetCurrentProcessId();
#else
    unsigned stamp = (unsigned)getpid();
#endif
    /* Writers that tell formats apart by the name's extension (JPEG and
       PIC share a writer) must see the target's. */
    const char *ext = strrchr(target + dir, '.');
    if (!ext || strlen(ext) > 9) ext = ".tmp";
    if (dir + 12 + strlen(ext) > size) return 0;
    for (int attempt = 0; attempt < 64; attempt++) {
        memcpy(out, target, dir);
        snprintf(out + dir, size - dir, "~lc%04x%02x%s", (stamp + counter * 7u) & 0xFFFFu, counter & 0xFFu, ext);
        counter++;
        int made = create_exclusive(out);
        if (made == 1) return 1;
        if (made == 0) return 0; /* not a name clash: the directory refuses */
    }
    return 0;
}

extern "C" int lc_replace_file(const char *from, const char *to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return rename(from, to) == 0;
#endif
}

extern "C" int lc_delete_file(const char *path) { return remove(path) == 0; }
