/* Movable memory blocks with the Global* semantics the engine relies on:
   a handle stays valid while the block moves, Lock/Unlock count, ReAlloc
   keeps the contents.  Allocation is bounded by COMPAT_GLOBAL_LIMIT. */
#ifndef COMPAT_GLOBALMEM_H
#define COMPAT_GLOBALMEM_H

#include "win32_types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE GMEM_DDESHARE
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GMEM_LOCKCOUNT 0x00FF
#define GMEM_INVALID_HANDLE 0x8000

/* Largest single block the native layer hands out (like a 32-bit address
   space would refuse much more). */
#define COMPAT_GLOBAL_LIMIT ((size_t)0x7FFFFFFF)

#ifdef __cplusplus
extern "C" {
#endif

HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
size_t GlobalSize(HGLOBAL mem);
UINT GlobalFlags(HGLOBAL mem);
HGLOBAL GlobalFree(HGLOBAL mem);
HGLOBAL GlobalHandle(LPCVOID pointer);

/* Test support: number of live blocks, to catch leaks in unit tests. */
long compat_global_live_blocks(void);

#ifdef __cplusplus
}
#endif

#endif
