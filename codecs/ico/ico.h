/* Windows icon reader and writer.  The reader lists the icon's images,
   lets the user (or the batch rule) choose one, and can turn its mask into
   an alpha channel; the writer fits the image into one of nine standard
   icon types and can derive the mask from the alpha channel. */
#ifndef LC_CODECS_ICO_H
#define LC_CODECS_ICO_H

#include <stddef.h>

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI IcoLoad(LPSTR path, HGLOBAL *out);
int WINAPI IcoSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader's work on a whole file in memory: same contract as the
   loader (clears *out, reports its own failures). */
int IcoDecode(const BYTE *data, size_t size, HGLOBAL *out);

/* One line of the "Icon Types/Sizes" list. */
typedef struct IcoListEntry {
    char text[40];      /* "32 x 32 16-Color" */
    unsigned width;     /* pixels */
    unsigned colors;    /* 2, 16 or 256 */
} IcoListEntry;

/* Chooses a line: returns its position, or -1 for Cancel; *useMask comes
   in checked (1) and goes out as the check box was left.  The Windows
   build installs the dialog; without one (and always during a batch run)
   the batch rule chooses. */
typedef int (*IcoChooseProc)(const IcoListEntry *lines, int count, int *useMask);
void ico_set_chooser(IcoChooseProc choose);

/* The batch rule: the widest 16- or 256-colour line (more colours first
   among equals), else the first line; the mask is used.  -1 for no lines. */
int ico_batch_choice(const IcoListEntry *lines, int count, int *useMask);

/* Asks the installed chooser, or applies the batch rule. */
int ico_choose(const IcoListEntry *lines, int count, int *useMask);

/* ---- the writer's choice of type -------------------------------------- */

/* The nine icon types in list order; a code's low nibble is the size (1 =
   16, 2 = 32, 4 = 64 pixels), its high bits the depth (16 = 1 bit, 32 = 4,
   64 = 8). */
#define ICO_TYPE_COUNT 9
unsigned ico_type_code(int index);
/* The list position of a code, or -1. */
int ico_type_index(unsigned code);
unsigned ico_code_size(unsigned code);
WORD ico_code_bits(unsigned code);

/* Chooses a type: returns its position, or -1 for Cancel.  selected is the
   type matching the image; *useMask comes in as the check box starts
   (checked for 32-bit images, when maskEnabled is set) and goes out as it
   was left. */
typedef int (*IcoSaveChooseProc)(const IcoListEntry *types, int count, int selected, int maskEnabled,
                                 int *useMask);
void ico_set_save_chooser(IcoSaveChooseProc choose);

/* Answers fixed in advance (lumaconv): a type code (0: the one matching
   the image) and the check box (-1: as it starts; it only counts for
   32-bit images).  They win over the chooser and the batch rule. */
void ico_set_save_preset(unsigned code, int useMask);

/* The type matching an image: size from its width (64 and up, 32 and up,
   else 16), depth from its bits (1, 4, else 8). */
unsigned ico_matching_code(LONG width, WORD bpp);

/* The preset, the installed chooser, or (in a batch run and without a
   chooser) the matching type with the mask on for 32-bit images.  Returns
   the type's position or -1 for Cancel; sets *useMask. */
int ico_choose_save(LONG width, WORD bpp, int *useMask);

#ifdef __cplusplus
}
#endif

#endif
