#include "codecs/common/file_view.h"

#include <stdlib.h>
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
   refuses), and the caller reads it instead.  *tooLarge is set for a file
   past the limit. */
static int map_file(const char *path, FileView *in, int *tooLarge) {
#ifdef _WIN32
    /* Sharing only reads keeps the file from being cut short under the view. */
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size;
    void *view = NULL;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        if ((unsigned long long)size.QuadPart > LC_MAX_FILE_BYTES) {
            *tooLarge = 1;
        } else {
            HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL);
            if (mapping) {
                view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
                CloseHandle(mapping); /* the view keeps the mapping alive */
            }
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
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        if ((unsigned long long)st.st_size > LC_MAX_FILE_BYTES) {
            *tooLarge = 1;
        } else {
            int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
            flags |= MAP_POPULATE; /* one bulk mapping instead of a fault per page */
#endif
            view = mmap(NULL, (size_t)st.st_size, PROT_READ, flags, fd, 0);
        }
    }
    close(fd);
    if (view == MAP_FAILED) return 0;
    in->size = (size_t)st.st_size;
#endif
    in->view = view;
    in->data = (const BYTE *)view;
    return 1;
}

extern "C" int file_view_open(const char *path, FileView *in, int *tooLarge) {
    int large = 0;
    memset(in, 0, sizeof *in);
    if (tooLarge) *tooLarge = 0;
    if (map_file(path, in, &large)) return 1;
    if (large) {
        if (tooLarge) *tooLarge = 1;
        return 0;
    }
    if (!codec_file_read(path, &in->copy, tooLarge)) return 0;
    in->data = in->copy.data;
    in->size = in->copy.size;
    return 1;
}

extern "C" void file_view_close(FileView *in) {
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

/* Below this a block comes from the heap; sanitizer builds keep every
   block there, where overruns are caught. */
#if defined(__SANITIZE_ADDRESS__)
#define LC_SCRATCH_HEAP_ONLY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LC_SCRATCH_HEAP_ONLY 1
#endif
#endif
#if defined(__linux__) && !defined(LC_SCRATCH_HEAP_ONLY)
#define LC_SCRATCH_MAPPED 1
#endif

#ifdef LC_SCRATCH_MAPPED
static const size_t SCRATCH_MAP_BYTES = (size_t)4 << 20;
#endif

extern "C" void *codec_scratch_alloc(size_t size) {
#ifdef LC_SCRATCH_MAPPED
    if (size >= SCRATCH_MAP_BYTES) {
        void *p = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return NULL;
#ifdef MADV_HUGEPAGE
        madvise(p, size, MADV_HUGEPAGE);
#endif
        return p;
    }
#endif
    return calloc(size ? size : 1, 1);
}

extern "C" void codec_scratch_free(void *p, size_t size) {
#ifdef LC_SCRATCH_MAPPED
    if (size >= SCRATCH_MAP_BYTES) {
        if (p) munmap(p, size);
        return;
    }
#else
    (void)size;
#endif
    free(p);
}
