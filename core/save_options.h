/* The save-options word and the rules of the save-options panel, kept
   apart from the dialog so that the dialog, the batch facility and
   lumaconv settle on the same depth, color and compression. */
#ifndef LC_SAVE_OPTIONS_H
#define LC_SAVE_OPTIONS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* SaveOptions bits; the panel's control ids are 0xF000 | bit. */
#define SO_1BIT 0x001
#define SO_4BIT 0x002
#define SO_8BIT 0x004
#define SO_16BIT 0x008
#define SO_24BIT 0x010
#define SO_32BIT 0x020
#define SO_DEPTHS 0x03F
#define SO_COLOR 0x040
#define SO_GRAY 0x080
#define SO_COMPRESSED 0x100
#define SO_CONTROL_ID(bit) (0xF000 | (bit))

/* Enabled and checked buttons, one bit per button as in the word. */
typedef struct SavePanelState {
    WORD enabled;
    WORD checked;
} SavePanelState;

enum SavePanelEvent {
    SP_OPEN,        /* the panel opens */
    SP_TYPE_CHANGE, /* another type was chosen in the dialog */
    SP_DEPTH_CLICK, /* slot: the depth button clicked */
    SP_COLOR_CLICK,
    SP_GRAY_CLICK,
    SP_COMPRESSED_CLICK
};

/* Depth slot 0..5 of a bit count (1, 4, 8, 16, 24, 32), or -1. */
int depth_slot_of_bits(int bits);
int bits_of_depth_slot(int slot);

/* The starting word built from a window: its depth, color or gray, and
   compressed when its compressed flag is set. */
WORD save_options_from_image(int bits, int color, int compressed);
/* The checked depth slot of a word, or -1. */
int save_options_slot(WORD options);

/* Starts the panel from a word (all buttons enabled until SP_OPEN). */
SavePanelState save_panel_start(WORD options);
/* Applies one event with the caps of the selected type (six bytes).
   Clicks on disabled buttons are ignored. */
void save_panel_apply(SavePanelState *state, const BYTE *caps, int event, int slot);
/* The word rebuilt from the checked buttons when the dialog closes. */
WORD save_panel_word(const SavePanelState *state);

/* Runs the panel as the dialog would for a type: start from the word, open
   with the caps, and give back the settled word. */
WORD save_panel_settle(WORD start, const BYTE *caps);

#ifdef __cplusplus
}
#endif

#endif
