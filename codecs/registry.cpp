#include "codecs/registry.h"

#include <string.h>

/* Generated from the families' slots.inc files (see CMakeLists.txt). */
#include "codec_families.inc"

extern "C" int WINAPI CodecMissingLoad(LPSTR, HGLOBAL *out) {
    if (out) *out = NULL;
    return 0;
}

/* A body that differs from CodecMissingLoad's keeps the two apart after
   identical-code folding. */
static volatile int missingSaves;
extern "C" int WINAPI CodecMissingSave(LPSTR, HGLOBAL, WORD, WORD, WORD) {
    missingSaves++;
    return 0;
}

typedef struct CodecSlot {
    const char *extension;
    FmtLoadProc load; /* null: no reader in this build */
    FmtSaveProc save; /* null: no writer in this build */
} CodecSlot;

/* One row per built-in format that has a reader or a writer of its own.
   The codec units fill their rows as they land: BMP/DIB/RLE/CLP, GIF, PCX,
   TGA, HEX/GEN, EPS, TIFF, IFF/LBM, PICT, ICO, RAS, RGB, PPM, WPG; JPG, PIC
   and KQP come from the JPEG plug-in and AVI, WAV and MID from the shell's
   media windows through codec_install. */
static CodecSlot slots[] = {
    {"AVI", NULL, NULL}, {"BMP", NULL, NULL}, {"CLP", NULL, NULL}, {"DIB", NULL, NULL},
    {"EPS", NULL, NULL}, {"GEN", NULL, NULL}, {"GIF", NULL, NULL}, {"HEX", NULL, NULL},
    {"ICO", NULL, NULL}, {"IFF", NULL, NULL}, {"JPG", NULL, NULL}, {"PIC", NULL, NULL},
    {"KQP", NULL, NULL}, {"LBM", NULL, NULL}, {"MID", NULL, NULL}, {"PCC", NULL, NULL},
    {"PCX", NULL, NULL}, {"PCT", NULL, NULL}, {"PPM", NULL, NULL}, {"RAS", NULL, NULL},
    {"RGB", NULL, NULL}, {"RLE", NULL, NULL}, {"TGA", NULL, NULL}, {"TIF", NULL, NULL},
    {"WAV", NULL, NULL}, {"WPG", NULL, NULL},
};

static CodecSlot *lookup(const char *extension) {
    for (size_t i = 0; i < sizeof slots / sizeof slots[0]; i++)
        if (strcmp(slots[i].extension, extension) == 0) return &slots[i];
    return NULL;
}

[[maybe_unused]] static void fill_slot(const char *extension, FmtLoadProc load, FmtSaveProc save) {
    CodecSlot *slot = lookup(extension);
    if (!slot) return;
    if (load) slot->load = load;
    if (save) slot->save = save;
}

/* The built-in codecs take their slots before anything else looks. */
static void fill_builtin_slots(void) {
    static int filled;
    if (filled) return;
    filled = 1;
#define CODEC_SLOT(ext, load, save) fill_slot(ext, load, save);
#include "codec_slots.inc"
#undef CODEC_SLOT
}

static CodecSlot *find_slot(const char *extension) {
    if (!extension) return NULL;
    fill_builtin_slots();
    return lookup(extension);
}

extern "C" FmtLoadProc codec_loader(const char *extension) {
    CodecSlot *slot = find_slot(extension);
    return slot && slot->load ? slot->load : CodecMissingLoad;
}

extern "C" FmtSaveProc codec_writer(const char *extension) {
    CodecSlot *slot = find_slot(extension);
    return slot && slot->save ? slot->save : CodecMissingSave;
}

extern "C" int codec_install(const char *extension, FmtLoadProc load, FmtSaveProc save) {
    CodecSlot *slot = find_slot(extension);
    if (!slot) return 0;
    if (load) slot->load = load;
    if (save) slot->save = save;
    return 1;
}
