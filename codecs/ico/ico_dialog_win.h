/* The Windows build's "Icon Types/Sizes" dialog as the icon codec's
   chooser for reading and for saving. */
#ifndef LC_CODECS_ICO_DIALOG_WIN_H
#define LC_CODECS_ICO_DIALOG_WIN_H

#include "codecs/ico/ico.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Shows the dialog in load mode: one line per image, the first selected,
   the check box "Load icon mask to create 32-bit image" as *useMask. */
int ico_dialog_choose_image(const IcoListEntry *lines, int count, int *useMask);

/* Shows the dialog in save mode: the types, `selected` selected, the check
   box "Use alpha channel to create icon mask" enabled only when
   maskEnabled is set. */
int ico_dialog_choose_type(const IcoListEntry *types, int count, int selected, int maskEnabled, int *useMask);

/* Makes the dialog the codec's chooser for both directions. */
void ico_dialog_install(void);

#ifdef __cplusplus
}
#endif

#endif
