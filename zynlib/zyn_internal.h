/* Internal services shared by the units of zynlib: the library's own
   instance (whose string table holds its messages), the library-wide state
   read at attach, and the reporting helpers every operation uses. */
#ifndef ZYN_INTERNAL_H
#define ZYN_INTERNAL_H

#include "zynlib.h"
#include "zynlib_strings.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The module whose string table the library's messages come from.
   Natively the generated table; on Windows the DLL's instance as kept at
   attach, or, when the code is linked statically into an executable, the
   module that contains it. */
HINSTANCE zyn_instance(void);

/* Shows one of the library's messages at the error level (no caption of its
   own).  Every failing operation reports exactly once through this. */
void zyn_report(UINT id);

/* Loads a format string by id from the library's table, formats the extra
   arguments into it and shows it through the error method, task-modal and
   without a caption.  A missing id gives "Internal error (id = %u)". */
int zyn_message(UINT id, ...);

/* Maps the configured character-set name (string 513) to its number:
   "ANSI" 0, "SYMBOL" 2, "SHIFTJIS" 128, "OEM" 255; anything else is ANSI. */
int zyn_charset_from_name(const char *name);

/* The dialog font of the library (strings 512 and 513), read at attach;
   read on first use when nothing attached (native and static builds). */
const char *zyn_font_face(void);
int zyn_font_charset(void);

#ifdef _WIN32
/* Planes x bits per pixel of the screen, read at attach (or on first use). */
int zyn_display_bits(void);
/* Attach and detach work of the Windows build (dllmain_win.cpp). */
void zyn_attach(HINSTANCE instance);
void zyn_detach(void);
/* Pieces of the attach work that live with their own units. */
void zyn_os_init(void);
void zyn_wait_init(void);
void zyn_brushes_init(void);
void zyn_brushes_free(void);
void zyn_font_init(void);
void zyn_display_init(void);
#endif

#ifdef __cplusplus
}
#endif

#endif
