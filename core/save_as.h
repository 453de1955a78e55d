/* The checks of Save As that do not need the dialog. */
#ifndef LC_SAVE_AS_H
#define LC_SAVE_AS_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when the chosen name is acceptable, else the id of the message that
   refuses it (extension longer than three characters, or a name of 129
   characters or more). */
UINT save_name_problem(const char *path);

/* The file name with its extension replaced: the name part (after the
   last '\' or '/') is cut at its first '.' and '.' plus the extension
   is added.  Used for the starting name of Save As, for a change of type
   in the dialog and for batch output names.  0 when out is too small. */
int save_name_with_extension(const char *path, const char *extension, char *out, size_t size);
/* The name with its own extension replaced: what follows the last '.' of
   the name part becomes extension (a name without '.' gets '.' and the
   extension).  For window titles: "C:\MY.DIR\A.B.GIF" keeps "A.B".  0 when
   out is too small; out may be path. */
int save_name_replace_extension(const char *path, const char *extension, char *out, size_t size);
/* On OK: a name without '.' gets '.' and the extension; others are kept. */
int save_name_default_extension(const char *path, const char *extension, char *out, size_t size);

/* Whether saving at chosenBits/chosenColor loses information of an image of
   bits/color.  A 32-bit image saved as an icon never counts (the icon
   writer keeps its alpha as the mask). */
int save_loses_color(int bits, int color, int chosenBits, int chosenColor, int formatIndex);

#ifdef __cplusplus
}
#endif

#endif
