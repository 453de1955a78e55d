/* Loading a library by path and finding an export by name: one file for
   Windows, one for POSIX, so the plug-in dispatch reads the same on both. */
#ifndef LC_PLUGIN_LIBRARY_H
#define LC_PLUGIN_LIBRARY_H

#ifdef __cplusplus
extern "C" {
#endif

typedef void *LcLibrary;
typedef void (*LcSymbol)(void);

LcLibrary lc_library_open(const char *path); /* null when it does not load */
LcSymbol lc_library_symbol(LcLibrary library, const char *name);
void lc_library_close(LcLibrary library);

#ifdef __cplusplus
}
#endif

#endif
