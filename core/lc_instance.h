/* The module whose string table the engine's messages come from. */
#ifndef LC_INSTANCE_H
#define LC_INSTANCE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The program's own module: GetModuleHandle(NULL) on Windows (the string
   table is linked into the executable), the generated table natively. */
HINSTANCE lc_instance(void);

#ifdef __cplusplus
}
#endif

#endif
