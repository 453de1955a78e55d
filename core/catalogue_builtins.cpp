/* The built-in formats, registered at start-up in this fixed order: the
   index of a row is its position, and settings store indexes. */
#include <string.h>

#include "codecs/registry.h"
#include "core/catalogue.h"
#include "core/lc_instance.h"
#include "core/messages.h"
#include "lumacast_strings.h"

enum LoadKind { L_WILD, L_CODEC, L_DISABLED, L_NONE };
enum SaveKind { S_CODEC, S_DISABLED, S_NONE };

typedef struct BuiltinFormat {
    const char *extension;
    UINT nameId;
    DWORD kinds;
    LoadKind load;
    SaveKind save;
    BYTE caps[LC_DEPTH_SLOTS]; /* 1, 4, 8, 16, 24, 32 bits */
    DWORD code;
} BuiltinFormat;

static const BuiltinFormat builtins[] = {
    {"*", IDS_FMT_ALL, KIND_IMAGE, L_WILD, S_NONE, {0, 0, 0, 0, 0, 0}, 3},
    {"AVI", IDS_FMT_AVI, KIND_VIDEO, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 123},
    {"BIT", IDS_FMT_BIT, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 10},
    {"BMP", IDS_FMT_BMP, KIND_IMAGE, L_CODEC, S_CODEC, {3, 1, 1, 0, 1, 1}, 9},
    {"CLP", IDS_FMT_CLP, KIND_IMAGE, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 22},
    {"CUT", IDS_FMT_CUT, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 26},
    {"CVP", IDS_FMT_CVP, KIND_IMAGE, L_DISABLED, S_DISABLED, {0, 0, 0, 0, 1, 0}, 27},
    {"DIB", IDS_FMT_DIB, KIND_IMAGE, L_CODEC, S_CODEC, {7, 5, 5, 0, 1, 1}, 31},
    {"EPS", IDS_FMT_EPS, KIND_IMAGE, L_NONE, S_CODEC, {3, 3, 3, 0, 3, 0}, 38},
    {"GEN", IDS_FMT_GEN, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 0, 0, 3, 0}, 46},
    {"GIF", IDS_FMT_GIF, KIND_IMAGE, L_CODEC, S_CODEC, {9, 9, 9, 0, 0, 0}, 47},
    {"HEX", IDS_FMT_HEX, KIND_IMAGE, L_CODEC, S_CODEC, {2, 3, 3, 0, 3, 0}, 52},
    {"ICO", IDS_FMT_ICO, KIND_IMAGE, L_CODEC, S_CODEC, {1, 1, 1, 0, 0, 0}, 54},
    {"IFF", IDS_FMT_IFF, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 0, 0, 1, 0}, 55},
    {"IMG", IDS_FMT_IMG_AURORA, KIND_IMAGE, L_DISABLED, S_DISABLED, {0, 0, 0, 0, 1, 0}, 7},
    {"IMG", IDS_FMT_IMG_DTIRIS, KIND_IMAGE, L_DISABLED, S_DISABLED, {0, 0, 2, 0, 0, 0}, 34},
    {"IMG", IDS_FMT_IMG_GEM, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 58},
    {"JPG", IDS_FMT_JPG, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 11, 0, 9, 0}, 59},
    {"PIC", IDS_FMT_PIC, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 11, 0, 9, 0}, 32},
    {"KQP", IDS_FMT_KQP, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 11, 0, 9, 0}, 69},
    {"LBM", IDS_FMT_LBM, KIND_IMAGE, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 61},
    {"MCP", IDS_FMT_MCP, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 65},
    {"MID", IDS_FMT_MID, KIND_MIDI, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 127},
    {"MSP", IDS_FMT_MSP, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 70},
    {"PCC", IDS_FMT_PCC, KIND_IMAGE, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 78},
    {"PCX", IDS_FMT_PCX, KIND_IMAGE, L_CODEC, S_CODEC, {10, 11, 11, 0, 11, 0}, 81},
    {"PCT", IDS_FMT_PCT, KIND_IMAGE, L_CODEC, S_DISABLED, {0, 0, 0, 0, 0, 0}, 75},
    {"PPM", IDS_FMT_PPM, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 1, 0, 1, 0}, 88},
    {"RAS", IDS_FMT_RAS, KIND_IMAGE, L_CODEC, S_CODEC, {2, 0, 3, 0, 3, 0}, 94},
    {"RGB", IDS_FMT_RGB, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 2, 0, 1, 0}, 98},
    {"RLE", IDS_FMT_RLE, KIND_IMAGE, L_CODEC, S_CODEC, {11, 11, 11, 0, 0, 0}, 101},
    {"SVW", IDS_FMT_SVW, KIND_IMAGE, L_DISABLED, S_NONE, {0, 0, 0, 0, 0, 0}, 111},
    {"TGA", IDS_FMT_TGA, KIND_IMAGE, L_CODEC, S_CODEC, {0, 0, 7, 5, 5, 5}, 112},
    {"TIF", IDS_FMT_TIF, KIND_IMAGE, L_CODEC, S_CODEC, {5, 7, 7, 7, 7, 7}, 113},
    {"WAV", IDS_FMT_WAV, KIND_WAVE, L_CODEC, S_NONE, {0, 0, 0, 0, 0, 0}, 126},
    {"WPG", IDS_FMT_WPG, KIND_IMAGE, L_CODEC, S_CODEC, {11, 11, 11, 0, 0, 0}, 119},
};

static FmtLoadProc loader_of(const BuiltinFormat *row) {
    switch (row->load) {
        case L_WILD: return LoadByDetection;
        case L_CODEC: return codec_loader(row->extension);
        case L_DISABLED: return LoadDisabled;
        default: return LoadNone;
    }
}

static FmtSaveProc writer_of(const BuiltinFormat *row) {
    switch (row->save) {
        case S_CODEC: return codec_writer(row->extension);
        case S_DISABLED: return SaveDisabled;
        default: return SaveNone;
    }
}

extern "C" int catalogue_register_builtins(void) {
    for (size_t i = 0; i < sizeof builtins / sizeof builtins[0]; i++) {
        const BuiltinFormat *row = &builtins[i];
        char name[128];
        LoadStringA(lc_instance(), row->nameId, name, (int)sizeof name);
        if (catalogue_register(row->kinds, row->extension, name, loader_of(row), writer_of(row),
                               ValidateAlways, row->caps, NULL, row->code) < 0) {
            lc_message(MSG_ERROR, IDS_OUT_OF_MEMORY);
            return 0;
        }
    }
    return 1;
}
