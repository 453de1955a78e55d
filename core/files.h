/* The few file-system services the pipeline needs, one implementation for
   Windows and one for POSIX. */
#ifndef LC_FILES_H
#define LC_FILES_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

int lc_file_exists(const char *path);
/* Full path of an existing file into out; 0 (out untouched) when it cannot
   be found. */
int lc_full_path(const char *path, char *out, size_t size);
/* Creates a new, empty file with a fresh name in the directory of target
   and writes its name into out; 0 when none can be made. */
int lc_create_temp_beside(const char *target, char *out, size_t size);
/* Moves from over to, replacing to; 1 on success. */
int lc_replace_file(const char *from, const char *to);
int lc_delete_file(const char *path);

#ifdef __cplusplus
}
#endif

#endif
