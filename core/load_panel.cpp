#include "core/load_panel.h"

#include <stdlib.h>
#include <string.h>

#include "lumacast_strings.h"

static LoadInfo info;
static LoadPanelHooks hooks;
static int panelOpen;
static int shown = 1;
static int infoReady;
static DWORD currentStep, stepCount;

extern "C" void load_panel_set_hooks(const LoadPanelHooks *h) {
    if (h)
        hooks = *h;
    else
        memset(&hooks, 0, sizeof hooks);
}

static int drawing(void) { return panelOpen && shown; }

static DWORD *number_slot(int field) {
    switch (field) {
        case LI_FORMAT: return &info.format;
        case LI_WIDTH: return &info.width;
        case LI_HEIGHT: return &info.height;
        case LI_PALETTE: return &info.palette;
        case LI_PLANES: return &info.planes;
        case LI_COLORS: return &info.colors;
        case LI_GRAY: return &info.gray;
        case LI_MEMORY: return &info.memory;
        case LI_COMPRESSED: return &info.compressed;
        case LI_BITS_PER_PIXEL: return &info.bitsPerPixel;
        case LI_TYPE: return &info.type;
        case LI_VERSION: return &info.version;
        default: return NULL;
    }
}

static char **text_slot(int field) {
    if (field == LI_FILE) return &info.file;
    if (field == LI_CREATOR) return &info.creator;
    return NULL;
}

extern "C" int loadinfo_set_number(int field, DWORD value) {
    DWORD *slot = number_slot(field);
    if (!slot) return 0;
    *slot = value;
    return 1;
}

extern "C" int loadinfo_set_text(int field, const char *text) {
    char **slot = text_slot(field);
    if (!slot) return 0;
    char *copy = NULL;
    if (text) {
        size_t n = strlen(text) + 1;
        copy = (char *)malloc(n);
        if (!copy) return 0;
        memcpy(copy, text, n);
    }
    free(*slot);
    *slot = copy;
    return 1;
}

extern "C" DWORD loadinfo_number(int field) {
    DWORD *slot = number_slot(field);
    return slot ? *slot : 0;
}

extern "C" const char *loadinfo_text(int field) {
    char **slot = text_slot(field);
    return slot && *slot ? *slot : "";
}

extern "C" const LoadInfo *loadinfo_get(void) { return &info; }

extern "C" UINT loadinfo_label_id(int field) {
    if (field < 0 || field >= LI_FIELD_COUNT) return 0;
    return IDS_LI_FILE + (UINT)field;
}

/* A new load starts from an empty record, so nothing of the previous file
   shows while the loader is still reading the header. */
extern "C" void load_panel_open(const char *title, const char *file) {
    load_panel_close();
    memset(&info, 0, sizeof info);
    loadinfo_set_text(LI_FILE, file);
    infoReady = 0;
    currentStep = stepCount = 0;
    panelOpen = 1;
    if (shown && hooks.open) hooks.open(title);
}

extern "C" void load_panel_close(void) {
    if (drawing() && hooks.close) hooks.close();
    panelOpen = 0;
    loadinfo_set_text(LI_FILE, NULL);
    loadinfo_set_text(LI_CREATOR, NULL);
}

extern "C" int load_panel_is_open(void) { return panelOpen; }
extern "C" void load_panel_set_shown(int on) { shown = on ? 1 : 0; }
extern "C" int load_panel_shown(void) { return shown; }

extern "C" void load_panel_begin_progress(DWORD step, DWORD steps) {
    currentStep = step;
    stepCount = steps;
    if (drawing() && hooks.progress) hooks.progress(currentStep, stepCount);
}

extern "C" void load_panel_info_ready(void) {
    infoReady = 1;
    if (drawing() && hooks.info_ready) hooks.info_ready(&info);
}

extern "C" int load_panel_info_is_ready(void) { return infoReady; }

extern "C" void load_panel_step(DWORD step) {
    currentStep = step;
    if (drawing() && hooks.progress) hooks.progress(currentStep, stepCount);
}

extern "C" DWORD load_panel_current_step(void) { return currentStep; }
extern "C" DWORD load_panel_steps(void) { return stepCount; }
