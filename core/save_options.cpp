#include "core/save_options.h"

#include "core/catalogue.h"

static const int slotBits[LC_DEPTH_SLOTS] = {1, 4, 8, 16, 24, 32};

extern "C" int depth_slot_of_bits(int bits) {
    for (int i = 0; i < LC_DEPTH_SLOTS; i++)
        if (slotBits[i] == bits) return i;
    return -1;
}

extern "C" int bits_of_depth_slot(int slot) {
    return slot >= 0 && slot < LC_DEPTH_SLOTS ? slotBits[slot] : 0;
}

extern "C" WORD save_options_from_image(int bits, int color, int compressed) {
    int slot = depth_slot_of_bits(bits);
    WORD word = (WORD)(slot >= 0 ? 1u << slot : 0);
    word |= color ? SO_COLOR : SO_GRAY;
    if (compressed) word |= SO_COMPRESSED;
    return word;
}

extern "C" int save_options_slot(WORD options) {
    for (int i = 0; i < LC_DEPTH_SLOTS; i++)
        if (options & (1u << i)) return i;
    return -1;
}

static WORD depth_bit(int slot) { return (WORD)(1u << slot); }

static void set_bit(WORD *bits, WORD bit, int on) {
    if (on)
        *bits |= bit;
    else
        *bits &= (WORD)~bit;
}

static BYTE caps_of_checked(const SavePanelState *s, const BYTE *caps) {
    int slot = save_options_slot(s->checked);
    return slot >= 0 ? caps[slot] : 0;
}

/* Color and Compressed for the checked depth.  Compressed is checked when
   the format always compresses there; it is unchecked only on a type
   change or opening, when the depth cannot compress at all. */
static void evaluate_color_and_compressed(SavePanelState *s, const BYTE *caps, int mayUncheck) {
    BYTE c = caps_of_checked(s, caps);
    set_bit(&s->enabled, SO_COLOR, (c & SC_COLOR) != 0);
    set_bit(&s->enabled, SO_GRAY, 1);
    set_bit(&s->enabled, SO_COMPRESSED, (c & SC_COMPRESS_OPTION) != 0);
    if (c & SC_COMPRESS_ALWAYS)
        s->checked |= SO_COMPRESSED;
    else if (mayUncheck && !(c & SC_COMPRESSIBLE))
        s->checked &= (WORD)~SO_COMPRESSED;
}

/* While Compressed is checked only the depths that can compress are
   offered. */
static void evaluate_depths(SavePanelState *s, const BYTE *caps, int honourCompressed) {
    int compressed = honourCompressed && (s->checked & SO_COMPRESSED);
    for (int i = 0; i < LC_DEPTH_SLOTS; i++) {
        int on = caps[i] != 0 && (!compressed || (caps[i] & SC_COMPRESSIBLE));
        set_bit(&s->enabled, depth_bit(i), on);
    }
}

static void check_depth(SavePanelState *s, int slot) {
    s->checked = (WORD)((s->checked & ~SO_DEPTHS) | depth_bit(slot));
}

/* A checked depth that became disabled moves up to the nearest enabled
   depth, or down when there is none above. */
static void move_off_disabled_depth(SavePanelState *s, const BYTE *caps) {
    int slot = save_options_slot(s->checked);
    if (slot < 0 || (s->enabled & depth_bit(slot))) return;
    for (int i = slot + 1; i < LC_DEPTH_SLOTS; i++)
        if (s->enabled & depth_bit(i)) {
            check_depth(s, i);
            evaluate_color_and_compressed(s, caps, 0);
            return;
        }
    for (int i = slot - 1; i >= 0; i--)
        if (s->enabled & depth_bit(i)) {
            check_depth(s, i);
            evaluate_color_and_compressed(s, caps, 0);
            return;
        }
}

static int click_allowed(const SavePanelState *s, WORD bit) { return (s->enabled & bit) != 0; }

extern "C" SavePanelState save_panel_start(WORD options) {
    SavePanelState s;
    s.enabled = SO_DEPTHS | SO_COLOR | SO_GRAY | SO_COMPRESSED;
    s.checked = options;
    return s;
}

extern "C" void save_panel_apply(SavePanelState *s, const BYTE *caps, int event, int slot) {
    switch (event) {
        case SP_OPEN:
        case SP_TYPE_CHANGE:
            evaluate_depths(s, caps, 0);
            evaluate_color_and_compressed(s, caps, 1);
            break;
        case SP_DEPTH_CLICK:
            if (slot < 0 || slot >= LC_DEPTH_SLOTS || !click_allowed(s, depth_bit(slot))) return;
            check_depth(s, slot);
            evaluate_color_and_compressed(s, caps, 0);
            break;
        case SP_COLOR_CLICK:
        case SP_GRAY_CLICK: {
            WORD bit = event == SP_COLOR_CLICK ? SO_COLOR : SO_GRAY;
            if (!click_allowed(s, bit)) return;
            s->checked = (WORD)((s->checked & ~(SO_COLOR | SO_GRAY)) | bit);
            evaluate_depths(s, caps, 1);
            break;
        }
        case SP_COMPRESSED_CLICK:
            if (!click_allowed(s, SO_COMPRESSED)) return;
            s->checked ^= SO_COMPRESSED;
            evaluate_depths(s, caps, 1);
            set_bit(&s->enabled, SO_COLOR, (caps_of_checked(s, caps) & SC_COLOR) != 0);
            break;
        default: return;
    }
    move_off_disabled_depth(s, caps);
    if (!(s->enabled & SO_COLOR)) s->checked = (WORD)((s->checked & ~SO_COLOR) | SO_GRAY);
}

extern "C" WORD save_panel_word(const SavePanelState *s) {
    WORD word = 0;
    int slot = save_options_slot(s->checked);
    if (slot >= 0) word |= depth_bit(slot);
    word |= (s->checked & SO_COLOR) ? SO_COLOR : SO_GRAY;
    if (s->checked & SO_COMPRESSED) word |= SO_COMPRESSED;
    return word;
}

extern "C" WORD save_panel_settle(WORD start, const BYTE *caps) {
    SavePanelState s = save_panel_start(start);
    save_panel_apply(&s, caps, SP_OPEN, 0);
    return save_panel_word(&s);
}
