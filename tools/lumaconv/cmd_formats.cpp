/* The catalogue, one line per entry: INDEX EXT LOAD SAVE CAPS CODE NAME,
   separated by tabs (documented in the help text). */
#include "core/catalogue.h"
#include "lumaconv.h"

int cmd_formats(int argc, char **argv) {
    if (argc != 2) {
        tool_error("usage: lumaconv formats");
        return EXIT_USAGE;
    }
    for (int i = 0; i < catalogue_count(); i++) {
        const FormatEntry *e = catalogue_entry(i);
        const BYTE *c = e->saveCaps;
        printf("%d\t%s\t%s\t%s\t%u/%u/%u/%u/%u/%u\t%u\t%s\n", i, e->extension,
               catalogue_listed_for_open(i) ? "yes" : "no", catalogue_listed_for_save(i) ? "yes" : "no", c[0],
               c[1], c[2], c[3], c[4], c[5], (unsigned)e->formatCode, e->displayName);
    }
    return EXIT_OK;
}
