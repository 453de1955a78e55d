// Movable memory blocks.  A handle points at a small record that owns the
// data, so the data may move on ReAlloc while the handle stays the same.
#include "globalmem.h"

#include <stdlib.h>
#include <string.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

const unsigned kMagic = 0x474D454Du;  // "GMEM"

struct Block {
    unsigned magic;
    unsigned locks;
    UINT flags;
    size_t size;
    void *data;
};

long g_live = 0;

// Large blocks (a decoded photo) come straight from the system, asking for
// huge pages: touching tens of megabytes of fresh 4 KB pages costs a fault
// each, more than decoding into them.  Such memory starts zeroed, so
// GMEM_ZEROINIT costs nothing extra there.  Sanitizer builds keep every
// block on the heap, where overruns are caught.
#if defined(__SANITIZE_ADDRESS__)
#define LC_HEAP_ONLY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LC_HEAP_ONLY 1
#endif
#endif
#if defined(__linux__) && !defined(LC_HEAP_ONLY)
const size_t kMapBytes = (size_t)4 << 20;

bool is_mapped(size_t bytes) { return bytes >= kMapBytes; }

void *data_alloc(size_t bytes, bool zero) {
    if (is_mapped(bytes)) {
        void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
        madvise(p, bytes, MADV_HUGEPAGE);
#endif
        return p;
    }
    return zero ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
}

void data_free(void *p, size_t bytes) {
    if (is_mapped(bytes))
        munmap(p, bytes);
    else
        free(p);
}

// Contents up to the smaller size are kept; growth is zeroed when asked.
void *data_realloc(void *p, size_t oldBytes, size_t bytes, bool zero) {
    if (!is_mapped(oldBytes) && !is_mapped(bytes)) {
        void *q = realloc(p, bytes ? bytes : 1);
        if (q && zero && bytes > oldBytes) memset(static_cast<char *>(q) + oldBytes, 0, bytes - oldBytes);
        return q;
    }
    if (is_mapped(oldBytes) && is_mapped(bytes)) {
        void *q = mremap(p, oldBytes, bytes, MREMAP_MAYMOVE);
        return q == MAP_FAILED ? nullptr : q;  // new pages of a mapping are zero
    }
    void *q = data_alloc(bytes, zero);
    if (!q) return nullptr;
    memcpy(q, p, oldBytes < bytes ? oldBytes : bytes);
    data_free(p, oldBytes);
    return q;
}
#else
void *data_alloc(size_t bytes, bool zero) { return zero ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1); }

void data_free(void *p, size_t) { free(p); }

void *data_realloc(void *p, size_t oldBytes, size_t bytes, bool zero) {
    void *q = realloc(p, bytes ? bytes : 1);
    if (q && zero && bytes > oldBytes) memset(static_cast<char *>(q) + oldBytes, 0, bytes - oldBytes);
    return q;
}
#endif

Block *from_handle(HGLOBAL mem) {
    Block *b = static_cast<Block *>(mem);
    if (!b || b->magic != kMagic) return nullptr;
    return b;
}

}  // namespace

extern "C" HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
    if (bytes > COMPAT_GLOBAL_LIMIT) return nullptr;
    Block *b = static_cast<Block *>(calloc(1, sizeof(Block)));
    if (!b) return nullptr;
    // Never hand out a null data pointer, even for an empty block.
    b->data = data_alloc(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!b->data) {
        free(b);
        return nullptr;
    }
    b->magic = kMagic;
    b->flags = flags;
    b->size = bytes;
    ++g_live;
    return b;
}

extern "C" HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags) {
    Block *b = from_handle(mem);
    if (!b) return nullptr;
    if (flags & GMEM_MODIFY) {
        b->flags = (b->flags & ~GMEM_MOVEABLE) | (flags & GMEM_MOVEABLE);
        return mem;
    }
    if (bytes > COMPAT_GLOBAL_LIMIT) return nullptr;
    // A locked block may only grow in place, which we cannot promise.
    if (b->locks && bytes > b->size) return nullptr;
    void *data = data_realloc(b->data, b->size, bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!data) return nullptr;
    b->data = data;
    b->size = bytes;
    return mem;
}

extern "C" LPVOID GlobalLock(HGLOBAL mem) {
    Block *b = from_handle(mem);
    if (!b) return nullptr;
    if (b->locks < GMEM_LOCKCOUNT) ++b->locks;
    return b->data;
}

extern "C" BOOL GlobalUnlock(HGLOBAL mem) {
    Block *b = from_handle(mem);
    if (!b || b->locks == 0) return FALSE;
    --b->locks;
    return b->locks != 0;
}

extern "C" size_t GlobalSize(HGLOBAL mem) {
    Block *b = from_handle(mem);
    return b ? b->size : 0;
}

extern "C" UINT GlobalFlags(HGLOBAL mem) {
    Block *b = from_handle(mem);
    return b ? (b->locks & GMEM_LOCKCOUNT) : GMEM_INVALID_HANDLE;
}

extern "C" HGLOBAL GlobalFree(HGLOBAL mem) {
    if (!mem) return nullptr;
    Block *b = from_handle(mem);
    if (!b) return mem;  // as Windows: the handle comes back on failure
    b->magic = 0;
    data_free(b->data, b->size);
    free(b);
    --g_live;
    return nullptr;
}

extern "C" HGLOBAL GlobalHandle(LPCVOID) {
    // Not supported natively: callers keep their handles.
    return nullptr;
}

extern "C" long compat_global_live_blocks(void) { return g_live; }
