/* The load information of one file, as the load panel would show it. */
#include <string.h>

#include "core/catalogue.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/pipeline.h"
#include "lumaconv.h"

/* Closing the panel clears its texts: keep the record as it was then. */
static LoadInfo kept;
static char keptCreator[256];

static void keep_on_close(void) {
    kept = *loadinfo_get();
    strncpy(keptCreator, loadinfo_text(LI_CREATOR), sizeof keptCreator - 1);
}

static void print_fields(const char *path) {
    const DWORD numbers[] = {kept.format, kept.width, kept.height, kept.palette, kept.planes, kept.colors,
                             kept.gray, kept.memory, kept.compressed, kept.bitsPerPixel, kept.type,
                             kept.version};
    char label[64];
    for (int field = 0; field < LI_FIELD_COUNT; field++) {
        LoadStringA(lc_instance(), loadinfo_label_id(field), label, (int)sizeof label);
        if (field == LI_FILE)
            printf("%-16s%s\n", label, path);
        else if (field == LI_CREATOR)
            printf("%-16s%s\n", label, keptCreator);
        else
            printf("%-16s%u\n", label, (unsigned)numbers[field - 1]);
    }
}

int cmd_info(int argc, char **argv) {
    if (argc != 3) {
        tool_error("usage: lumaconv info FILE");
        return EXIT_USAGE;
    }
    char path[MAX_PATH + 1];
    if (strlen(argv[2]) >= sizeof path) return tool_error("name too long: %s", argv[2]), EXIT_FAILED;
    strcpy(path, argv[2]);
    LoadPanelHooks hooks = {};
    hooks.close = keep_on_close;
    load_panel_set_hooks(&hooks);
    catalogue_set_current_load(catalogue_wildcard_index());
    HGLOBAL dib = NULL;
    int ok = LoadFile(path, &dib);
    load_panel_set_hooks(NULL);
    if (!ok) return EXIT_FAILED;
    GlobalFree(dib);
    print_fields(argv[2]);
    return EXIT_OK;
}
