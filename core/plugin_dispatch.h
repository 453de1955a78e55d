/* The three exports of a format plug-in, called by library path. */
#ifndef LC_PLUGIN_DISPATCH_H
#define LC_PLUGIN_DISPATCH_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

int plugin_load(const char *library, LPSTR path, HGLOBAL *out);
int plugin_save(const char *library, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int plugin_validate(const char *library, LPSTR path);

#ifdef __cplusplus
}
#endif

#endif
