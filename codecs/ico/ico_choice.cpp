/* Who chooses the image to load and the type to save: the dialog the
   Windows build installs, fixed answers, or the batch rule. */
#include <stdio.h>
#include <string.h>

#include "codecs/ico/ico.h"
#include "core/batch_state.h"
#include "core/lc_instance.h"
#include "lumacast_strings.h"

static IcoChooseProc chooser;

extern "C" void ico_set_chooser(IcoChooseProc choose) { chooser = choose; }

extern "C" int ico_batch_choice(const IcoListEntry *lines, int count, int *useMask) {
    if (count <= 0) return -1;
    *useMask = 1;
    int best = -1;
    for (int i = 0; i < count; i++) {
        if (lines[i].colors != 16 && lines[i].colors != 256) continue;
        if (best < 0 || lines[i].width > lines[best].width ||
            (lines[i].width == lines[best].width && lines[i].colors > lines[best].colors))
            best = i;
    }
    return best < 0 ? 0 : best;
}

extern "C" int ico_choose(const IcoListEntry *lines, int count, int *useMask) {
    *useMask = 1;
    if (count <= 0) return -1;
    if (batch_running() || !chooser) return ico_batch_choice(lines, count, useMask);
    int choice = chooser(lines, count, useMask);
    return choice >= 0 && choice < count ? choice : -1;
}

/* ---- the writer's choice ------------------------------------------------- */

static const unsigned TYPE_CODES[ICO_TYPE_COUNT] = {17, 18, 20, 33, 34, 36, 65, 66, 68};

static IcoSaveChooseProc saveChooser;
static unsigned presetCode;
static int presetMask = -1;

extern "C" unsigned ico_type_code(int index) {
    return index >= 0 && index < ICO_TYPE_COUNT ? TYPE_CODES[index] : 0;
}

extern "C" int ico_type_index(unsigned code) {
    for (int i = 0; i < ICO_TYPE_COUNT; i++)
        if (TYPE_CODES[i] == code) return i;
    return -1;
}

extern "C" unsigned ico_code_size(unsigned code) { return 16 * (code & 7); }

extern "C" WORD ico_code_bits(unsigned code) { return code & 16 ? 1 : code & 32 ? 4 : 8; }

extern "C" void ico_set_save_chooser(IcoSaveChooseProc choose) { saveChooser = choose; }

extern "C" void ico_set_save_preset(unsigned code, int useMask) {
    presetCode = ico_type_index(code) >= 0 ? code : 0;
    presetMask = useMask < 0 ? -1 : useMask != 0;
}

extern "C" unsigned ico_matching_code(LONG width, WORD bpp) {
    unsigned size = width >= 64 ? 4 : width >= 32 ? 2 : 1;
    return size | (bpp == 1 ? 16u : bpp == 4 ? 32u : 64u);
}

/* The nine lines in the reader's list wording ("32 x 32 16-Color"). */
static void type_lines(IcoListEntry *lines) {
    for (int i = 0; i < ICO_TYPE_COUNT; i++) {
        unsigned size = ico_code_size(TYPE_CODES[i]);
        WORD bits = ico_code_bits(TYPE_CODES[i]);
        UINT id = bits == 1 ? IDS_ICO_LIST_MONOCHROME : bits == 4 ? IDS_ICO_LIST_16_COLOR : IDS_ICO_LIST_256_COLOR;
        char format[40];
        if (LoadStringA(lc_instance(), id, format, (int)sizeof format) <= 0) format[0] = '\0';
        snprintf(lines[i].text, sizeof lines[i].text, format, size, size);
        lines[i].width = size;
        lines[i].colors = 1u << bits;
    }
}

extern "C" int ico_choose_save(LONG width, WORD bpp, int *useMask) {
    int maskEnabled = bpp == 32;
    int matching = ico_type_index(ico_matching_code(width, bpp));
    *useMask = maskEnabled;
    if (presetCode || presetMask >= 0) {
        if (maskEnabled && presetMask >= 0) *useMask = presetMask;
        return presetCode ? ico_type_index(presetCode) : matching;
    }
    if (batch_running() || !saveChooser) return matching;
    IcoListEntry lines[ICO_TYPE_COUNT];
    memset(lines, 0, sizeof lines);
    type_lines(lines);
    int choice = saveChooser(lines, ICO_TYPE_COUNT, matching, maskEnabled, useMask);
    *useMask = maskEnabled && *useMask;
    return choice >= 0 && choice < ICO_TYPE_COUNT ? choice : -1;
}
