/* String tables loaded by id.  Each module's table is generated from its
   .strings source; the module's instance handle natively is the address of
   its table record. */
#ifndef COMPAT_STRINGTABLE_H
#define COMPAT_STRINGTABLE_H

#include "win32_types.h"

typedef struct CompatStringEntry {
    UINT id;
    const char *text;
} CompatStringEntry;

typedef struct CompatStringModule {
    const char *name;
    const CompatStringEntry *entries; /* sorted by id */
    UINT count;
} CompatStringModule;

#define COMPAT_MODULE_INSTANCE(module) ((HINSTANCE)(const void *)&(module))

#ifdef __cplusplus
extern "C" {
#endif

/* As the Windows call: copies at most max-1 characters and a NUL, returns
   the number copied, 0 when the id is missing (buffer then holds ""). */
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int max);

/* The default message method natively: writes the caption and text to
   standard error and gives the safe answer (IDOK, or IDNO for questions). */
int compat_message_box(HWND owner, LPCSTR text, LPCSTR caption, UINT style);

#ifdef __cplusplus
}
#endif

#define LoadString LoadStringA

#endif
