/* The block through which a second copy of lumacast hands its file to the
   running copy: the named shared memory "CoreMemObject", 1024 bytes of
   little-endian 32-bit words with the path from byte 56.  Both copies read
   and write it through these functions, never by casting a record onto
   it, so the 64-bit build sees the same bytes as the 32-bit one. */
#ifndef LC_HANDOVER_H
#define LC_HANDOVER_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define HANDOVER_NAME "CoreMemObject"
#define HANDOVER_SIZE 1024
#define HO_ADDRESS 8
#define HO_INDEX 48
#define HO_CODE 52
#define HO_PATH 56
/* Longest path a copy accepts (with its NUL): what the file functions take. */
#define HANDOVER_PATH_MAX 260

/* The sender's side: code 0xFFFFFFFF (detect), the address word, the
   path.  0, with the block untouched, when the path is empty or does not
   fit. */
int handover_encode(BYTE *block, size_t size, const char *path, DWORD address);

/* The receiver's side: copies the path out (it must end inside the block
   and fit HANDOVER_PATH_MAX) and reads the format code.  0 for a block
   that holds no usable path. */
int handover_decode(const BYTE *block, size_t size, char *path, size_t pathSize, DWORD *code);

/* The receiver's answers: the catalogue index and its own view's address. */
void handover_write_result(BYTE *block, size_t size, DWORD index, DWORD address);

#ifdef __cplusplus
}
#endif

#endif
