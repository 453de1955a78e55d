/* Dispatch by catalogue index, LoadFile and SaveFile. */
#include "core/pipeline.h"

#include <string.h>

#include "codecs/registry.h"
#include "core/catalogue.h"
#include "core/files.h"
#include "core/lc_instance.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "core/plugin_dispatch.h"
#include "lumacast_strings.h"

/* The entries that exist only to be named, and the empty codec slots, fail
   here with one message that names the format; the loaders and writers
   report everything else themselves. */
static int load_refused(int index, FmtLoadProc load) {
    if (load == CodecMissingLoad) return catalogue_format_error(IDS_CODEC_MISSING, index), 1;
    if (load == LoadNone || load == LoadDisabled || load == LoadByPlugin || !load)
        return catalogue_format_error(IDS_CANNOT_READ_FORMAT, index), 1;
    return 0;
}

static int save_refused(int index, FmtSaveProc save) {
    if (save == CodecMissingSave) return catalogue_format_error(IDS_CODEC_MISSING, index), 1;
    if (save == SaveNone || save == SaveDisabled || save == SaveByPlugin || !save)
        return catalogue_format_error(IDS_CANNOT_WRITE_FORMAT, index), 1;
    return 0;
}

extern "C" int pipeline_load(int index, LPSTR path, HGLOBAL *out) {
    const FormatEntry *e = catalogue_entry(index);
    if (!out) return 0;
    *out = NULL;
    if (!e) {
        lc_message(MSG_ERROR, IDS_NO_FORMAT_SELECTED);
        return 0;
    }
    int ok;
    if (e->pluginPath) {
        ok = plugin_load(e->pluginPath, path, out);
    } else {
        if (load_refused(index, e->load)) return 0;
        ok = e->load(path, out);
    }
    /* A handle left behind by a failed loader would leak; a success without
       an image would crash the caller. */
    if (!ok && *out) {
        GlobalFree(*out);
        *out = NULL;
    }
    if (ok && !*out) {
        catalogue_format_error(IDS_LOADER_NO_IMAGE, index);
        return 0;
    }
    return ok != 0;
}

extern "C" int pipeline_save(int index, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    const FormatEntry *e = catalogue_entry(index);
    if (!e) {
        lc_message(MSG_ERROR, IDS_NO_FORMAT_SELECTED);
        return 0;
    }
    if (e->pluginPath) return plugin_save(e->pluginPath, path, dib, color, compressed, bpp) != 0;
    if (save_refused(index, e->save)) return 0;
    return e->save(path, dib, color, compressed, bpp) != 0;
}

extern "C" int pipeline_validate(int index, LPSTR path) {
    const FormatEntry *e = catalogue_entry(index);
    if (!e) return 0;
    if (e->pluginPath) return plugin_validate(e->pluginPath, path) != 0;
    return e->validate ? e->validate(path) != 0 : 0;
}

/* The path goes to the loader exactly as given.  Converting it from the
   ANSI to the OEM character set first, as old loaders expected, turns every
   name with an accented letter into a different name that does not exist,
   so such files could never be opened. */
extern "C" int LoadFile(LPSTR path, HGLOBAL *out) {
    char title[64];
    LoadStringA(lc_instance(), IDS_LOADING, title, (int)sizeof title);
    load_panel_open(title, path);
    int ok = pipeline_load(catalogue_current_load(), path, out);
    load_panel_close();
    return ok;
}

static const char *saveTarget;

extern "C" const char *pipeline_save_target(const char *writerPath) {
    return saveTarget ? saveTarget : writerPath;
}

extern "C" int SaveFile(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    int index = catalogue_current_save();
    if (!catalogue_entry(index)) {
        lc_message(MSG_ERROR, IDS_NO_FORMAT_SELECTED);
        return 0;
    }
    char temp[MAX_PATH + 32];
    if (!lc_create_temp_beside(path, temp, sizeof temp)) {
        lc_message(MSG_ERROR, IDS_SAVE_NO_TEMP, path);
        return 0;
    }
    saveTarget = path;
    int ok = pipeline_save(index, temp, dib, color, compressed, bpp);
    saveTarget = NULL;
    if (!ok) {
        lc_delete_file(temp); /* the writer may have removed it already */
        return 0;
    }
    if (!lc_replace_file(temp, path)) {
        lc_delete_file(temp);
        lc_message(MSG_ERROR, IDS_SAVE_NO_REPLACE, path);
        return 0;
    }
    return 1;
}
