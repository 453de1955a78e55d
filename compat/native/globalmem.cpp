// Movable memory blocks.  A handle points at a small record that owns the
// data, so the data may move on ReAlloc while the handle stays the same.
#include "globalmem.h"

#include <stdlib.h>
#include <string.h>

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
    b->data = (flags & GMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
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
    void *data = realloc(b->data, bytes ? bytes : 1);
    if (!data) return nullptr;
    if ((flags & GMEM_ZEROINIT) && bytes > b->size) memset(static_cast<char *>(data) + b->size, 0, bytes - b->size);
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
    free(b->data);
    free(b);
    --g_live;
    return nullptr;
}

extern "C" HGLOBAL GlobalHandle(LPCVOID) {
    // Not supported natively: callers keep their handles.
    return nullptr;
}

extern "C" long compat_global_live_blocks(void) { return g_live; }
