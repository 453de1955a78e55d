/* The image record of an image window: fifteen words read and written by
   byte offset from outside (host messages 0 and 1), so the offsets below
   are fixed.  A word is pointer-sized, because several hold handles; the
   offsets stay those of the 32-bit layout (word k at offset 4k), which on
   the 32-bit build is exactly the memory layout. */
#ifndef LC_IMAGE_RECORD_H
#define LC_IMAGE_RECORD_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define IR_WORDS 15
#define IR_FLAGS 0
#define IR_IMAGE 4
#define IR_OWNED_A 8
#define IR_SCREEN_BITMAP 12
#define IR_PALETTE 16
#define IR_REPAINT_COUNT 20
#define IR_DEPTH 24
#define IR_COMPRESSED 28
#define IR_FORMAT 32
#define IR_OPTIONS_RESET 36
#define IR_MEDIA_POS 40
#define IR_SCROLL_X 44
#define IR_SCROLL_Y 48
#define IR_RESERVED 52
#define IR_OWNED_B 56

#define IRF_MODIFIED 0x1
#define IRF_NEW 0x2
#define IRF_COLOR 0x4
#define IRF_SPARE 0x8
#define IRF_RASTER 0x10
#define IRF_VECTOR 0x20
#define IRF_MOVIE 0x40
#define IRF_WAVE 0x200
#define IRF_MIDI 0x400
#define IRF_MEDIA (IRF_MOVIE | IRF_WAVE | IRF_MIDI)

#define IR_NO_FORMAT 0xFFFFFFFFu

typedef struct ImageRecord {
    ULONG_PTR word[IR_WORDS];
} ImageRecord;

/* Offsets that name a word: 0 to 56 in steps of 4. */
int record_offset_valid(DWORD offset);
ULONG_PTR record_get(const ImageRecord *r, int offset);
void record_set(ImageRecord *r, int offset, ULONG_PTR value);
DWORD record_flags(const ImageRecord *r);
void record_change_flags(ImageRecord *r, DWORD bits, int on);

/* The state of a new window: not modified, new, no format, no scroll. */
void record_init_fresh(ImageRecord *r);

/* The undo rule: the current record starts as a copy of the state before
   the change (flags, depth, format, scroll position), but every handle the
   record owns stays with the undo record, so that no handle has two
   owners. */
void record_copy_for_undo(ImageRecord *dst, const ImageRecord *src);

/* Handles a record owns, taken out of it (the words become 0): the
   caller frees the memory blocks and deletes the GDI objects. */
typedef struct RecordHandles {
    HGLOBAL image;
    HGLOBAL ownedA;
    ULONG_PTR screenBitmap;
    ULONG_PTR palette;
    HGLOBAL ownedB;
} RecordHandles;
void record_take_handles(ImageRecord *r, RecordHandles *out);
/* Frees the memory blocks of taken handles (the GDI objects are the
   Windows side's). */
void record_free_blocks(RecordHandles *h);

/* Depth level of a bit count: 1, 4, 8, 16, 24 or 32. */
int depth_level_of_bits(DWORD bits);

/* The depth level to keep for an image of dibBits bits: the current
   level when it describes the image (the 16-bit level is a 24-bit DIB),
   else the image's own. */
int depth_level_for_image(int currentLevel, int dibBits);

/* The title of the n-th new window ("Image1"); 0 when out is too small. */
int new_window_title(const char *base, unsigned n, char *out, size_t size);


#ifdef __cplusplus
}
#endif

#endif
