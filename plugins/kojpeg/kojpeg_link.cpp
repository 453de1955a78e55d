/* The plug-in in the program's codec slots. */
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "codecs/registry.h"
#include "core/files.h"
#include "core/pipeline.h"
#include "kojpeg.h"
#include "kojpeg_link.h"

static int fixedLevel = -1;

/* The plug-in tells JPEG from PIC by the file's name, but the pipeline
   hands writers a temporary name: mirror the ".jpg" test of the name the
   user chose. */
static int names_jpeg(const char *name) {
    for (const char *p = strchr(name, '.'); p; p = strchr(p + 1, '.'))
        if (tolower((unsigned char)p[1]) == 'j' && tolower((unsigned char)p[2]) == 'p' &&
            tolower((unsigned char)p[3]) == 'g')
            return 1;
    return 0;
}

static int save_named(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    if (fixedLevel >= 0) return RQ_Fmt_Save(NULL, path, dib, color, (WORD)fixedLevel, 0xFFFF);
    return FOR_SaveJPG(path, dib, color, compressed, bpp);
}

static int WINAPI save_jpeg_family(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    const char *target = pipeline_save_target(path);
    if (target == path || strcmp(target, path) == 0 || names_jpeg(path) == names_jpeg(target))
        return save_named(path, dib, color, compressed, bpp);
    char named[MAX_PATH + 40];
    snprintf(named, sizeof named, "%s%s", path, names_jpeg(target) ? ".jpg" : ".pic");
    int ok = save_named(named, dib, color, compressed, bpp);
    if (ok && !lc_replace_file(named, path)) ok = 0;
    if (!ok) lc_delete_file(named);
    return ok;
}

extern "C" void kojpeg_install_slots(int level) {
    fixedLevel = level < 0 ? -1 : level < KOJPEG_LEVELS ? level : KOJPEG_LEVELS - 1;
    static const char *const EXTENSIONS[] = {"JPG", "PIC", "KQP"};
    for (const char *ext : EXTENSIONS) codec_install(ext, FOR_LoadJPG, save_jpeg_family);
}

extern "C" void kojpeg_set_save_level(int level) {
    if (level >= 0) fixedLevel = level < KOJPEG_LEVELS ? level : KOJPEG_LEVELS - 1;
}
