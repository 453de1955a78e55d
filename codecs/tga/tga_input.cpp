#include "codecs/tga/tga_input.h"

#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

/* Maps the whole file; 0 when it cannot (an empty file, a system that
   refuses), and the caller reads it instead. */
static int map_file(const char *path, TgaInput *in) {
#ifdef _WIN32
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size;
    void *view = NULL;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && (unsigned long long)size.QuadPart <= LC_MAX_FILE_BYTES) {
        HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL);
        if (mapping) {
            view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            CloseHandle(mapping); /* the view keeps the mapping alive */
        }
    }
    CloseHandle(file);
    if (!view) return 0;
    in->size = (size_t)size.QuadPart;
#else
    int fd = open(path, O_RDONLY);
    if (fd < 0) return 0;
    struct stat st;
    void *view = MAP_FAILED;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        (unsigned long long)st.st_size <= LC_MAX_FILE_BYTES) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE; /* one bulk read instead of a fault per page */
#endif
        view = mmap(NULL, (size_t)st.st_size, PROT_READ, flags, fd, 0);
    }
    close(fd);
    if (view == MAP_FAILED) return 0;
    in->size = (size_t)st.st_size;
#endif
    in->view = view;
    in->data = (const BYTE *)view;
    return 1;
}

int tga_input_open(const char *path, TgaInput *in, int *tooLarge) {
    memset(in, 0, sizeof *in);
    *tooLarge = 0;
    if (map_file(path, in)) return 1;
    if (!codec_file_read(path, &in->copy, tooLarge)) return 0;
    in->data = in->copy.data;
    in->size = in->copy.size;
    return 1;
}

void tga_input_close(TgaInput *in) {
    if (in->view) {
#ifdef _WIN32
        UnmapViewOfFile(in->view);
#else
        munmap(in->view, in->size);
#endif
    }
    codec_file_free(&in->copy);
    memset(in, 0, sizeof *in);
}
