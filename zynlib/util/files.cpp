// Small helpers on paths, files and memory blocks.
#include <stdio.h>
#include <string.h>

#include "zyn_internal.h"

namespace {
// Paths pass through a buffer of this size; a longer one is refused rather
// than cut, which would name another file.
const size_t kPathBuffer = 128;
}  // namespace

extern "C" BOOL WINAPI ZYN_UTI_DeleteFile(LPCSTR path) {
    if (!path) return FALSE;
    size_t n = strlen(path);
    if (n >= kPathBuffer) return FALSE;
    char copy[kPathBuffer];
    memcpy(copy, path, n + 1);
#ifdef _WIN32
    return DeleteFileA(copy);
#else
    return remove(copy) == 0;
#endif
}

extern "C" LPSTR WINAPI ZYN_UTI_SkipPath(LPSTR path) {
    if (!path) return nullptr;
    LPSTR name = path;
#ifdef _WIN32
    // By characters: the second byte of a double-byte character may look
    // like a backslash.
    for (LPSTR p = path; *p; p = CharNextA(p))
        if (*p == '\\') name = p + 1;
#else
    for (LPSTR p = path; *p; ++p)
        if (*p == '\\') name = p + 1;
#endif
    return name;
}

extern "C" HGLOBAL WINAPI ZYN_UTI_CopyHandle(HGLOBAL mem) {
    if (!mem) return nullptr;
    size_t size = GlobalSize(mem);
    const void *src = GlobalLock(mem);
    if (!src) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void *dst = copy ? GlobalLock(copy) : nullptr;
    if (dst) {
        memcpy(dst, src, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(mem);
    return copy;
}
