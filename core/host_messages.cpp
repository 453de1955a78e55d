#include "core/host_messages.h"

#include <string.h>

#include "core/catalogue.h"
#include "core/files.h"
#include "core/load_panel.h"
#include "core/pipeline.h"

static HostHooks hostHooks;

extern "C" void host_set_hooks(const HostHooks *hooks) {
    if (hooks)
        hostHooks = *hooks;
    else
        memset(&hostHooks, 0, sizeof hostHooks);
}

/* Plug-ins are 32-bit minded: a code or index is the low 32 bits of its
   field, and -1 arrives as 0xFFFFFFFF. */
static DWORD word(const HostParamBlock *b, int field) { return (DWORD)b->field[field]; }
static int index_field(const HostParamBlock *b) {
    DWORD v = word(b, HPB_INDEX);
    return v > 0x7FFFFFFFu ? -1 : (int)v;
}

/* Copies text out of a fixed field of the record, stopping at its end even
   when the plug-in forgot the NUL. */
static void copy_fixed(char *out, const char *in, size_t size) {
    size_t n = 0;
    while (n < size && in[n]) n++;
    memcpy(out, in, n);
    out[n] = '\0';
}

extern "C" LRESULT hm_register_format(HostParamBlock *block) {
    const PluginFormatRecord *r = (const PluginFormatRecord *)block->field[HPB_RECORD];
    if (!r) return -1;
    char ext[sizeof r->extension + 1], name[sizeof r->displayName + 1], path[sizeof r->libraryPath + 1];
    copy_fixed(ext, r->extension, sizeof r->extension);
    copy_fixed(name, r->displayName, sizeof r->displayName);
    copy_fixed(path, r->libraryPath, sizeof r->libraryPath);
    return catalogue_register(KIND_IMAGE, ext, name, r->canLoad ? LoadByPlugin : LoadNone,
                              r->canSave ? SaveByPlugin : SaveNone, ValidateAlways, r->saveCaps, path,
                              r->formatCode);
}

extern "C" LRESULT hm_code_to_index(HostParamBlock *block) {
    return catalogue_index_of_code(word(block, HPB_CODE));
}

extern "C" LRESULT hm_index_to_code(HostParamBlock *block) {
    int index = index_field(block);
    return index >= 0 && index < catalogue_count() ? (LRESULT)catalogue_format_code(index) : 0;
}

/* The caller sized its buffers as 128 bytes per catalogue entry less one
   entry, and four bytes per entry plus four for the codes. */
static LRESULT filter_message(HostParamBlock *block, int forSave) {
    int count = catalogue_count();
    size_t bufferSize = count > 1 ? (size_t)(count - 1) * 128 : 0;
    return catalogue_build_filter(forSave, (char *)block->field[HPB_ARG8], bufferSize,
                                  (DWORD *)block->field[HPB_ARG9], (size_t)count + 1);
}

extern "C" LRESULT hm_open_filter(HostParamBlock *block) { return filter_message(block, 0); }
extern "C" LRESULT hm_save_filter(HostParamBlock *block) { return filter_message(block, 1); }

extern "C" LRESULT hm_current_codes(HostParamBlock *block) {
    block->field[HPB_ARG8] = catalogue_format_code(catalogue_current_load());
    block->field[HPB_ARG9] = catalogue_format_code(catalogue_current_save());
    return 0;
}

extern "C" LRESULT hm_code_to_ext(HostParamBlock *block) {
    char *out = (char *)block->field[HPB_PATH];
    int index = catalogue_index_of_code(word(block, HPB_CODE));
    if (out && index >= 0) catalogue_extension(index, out, 4);
    return 0;
}

extern "C" LRESULT hm_detect(HostParamBlock *block) {
    const char *path = (const char *)block->field[HPB_PATH];
    return path ? detect_format(path) : -1;
}

extern "C" LRESULT hm_has_loader(HostParamBlock *block) { return catalogue_has_loader(index_field(block)); }

extern "C" LRESULT hm_save_flag_test(HostParamBlock *block) {
    return catalogue_caps_test(index_field(block), (int)word(block, HPB_ARG8), (BYTE)word(block, HPB_ARG9));
}

/* The format of a load or open request: field 13 when given, else
   detection; -1 when neither names a format. */
static int requested_format(HostParamBlock *block, const char *path) {
    if (word(block, HPB_CODE) != HPB_NO_CODE) return catalogue_index_of_code(word(block, HPB_CODE));
    return detect_format(path);
}

extern "C" LRESULT hm_open_window(HostParamBlock *block) {
    const char *path = (const char *)block->field[HPB_PATH];
    if (!path || !lc_file_exists(path)) return 0;
    int index = requested_format(block, path);
    if (index < 0) return 0;
    block->field[HPB_INDEX] = (DWORD)index;
    if (!hostHooks.open_window) return 0;
    return (LRESULT)hostHooks.open_window(path, index);
}

/* Without a name the Open dialog asks for one, starting on the requested
   format; the name goes into the caller's buffer at field 2. */
static int ask_for_name(HostParamBlock *block, char *buffer) {
    if (!hostHooks.open_dialog) return 0;
    int index = word(block, HPB_CODE) != HPB_NO_CODE ? catalogue_index_of_code(word(block, HPB_CODE))
                                                     : catalogue_current_load();
    if (index >= 0) catalogue_set_current_load(index);
    return hostHooks.open_dialog(buffer, HOST_PATH_SIZE);
}

extern "C" LRESULT hm_load_file(HostParamBlock *block) {
    char *path = (char *)block->field[HPB_PATH];
    if (!path) return 0;
    if (!*path && !ask_for_name(block, path)) return 0;
    if (!lc_file_exists(path)) return 0;
    int index = requested_format(block, path);
    if (index < 0) return 0;
    if (word(block, HPB_CODE) == HPB_NO_CODE) block->field[HPB_INDEX] = (DWORD)index;
    block->field[HPB_CODE] = catalogue_format_code(index);
    catalogue_set_current_load(index);
    HGLOBAL dib = NULL;
    return LoadFile(path, &dib) ? (LRESULT)dib : 0;
}

/* A compressed flag is only kept when the format can compress at the depth
   asked for. */
static int depth_slot(DWORD bpp) {
    switch (bpp) {
        case 1: return 0;
        case 4: return 1;
        case 8: return 2;
        case 16: return 3;
        case 24: return 4;
        case 32: return 5;
        default: return -1;
    }
}

extern "C" LRESULT hm_save_file(HostParamBlock *block) {
    char *path = (char *)block->field[HPB_PATH];
    if (!path || !*path) return 0;
    int index = requested_format(block, path);
    if (index < 0) return 0;
    catalogue_set_current_save(index);
    DWORD bpp = word(block, HPB_ARG9);
    if (word(block, HPB_COMPRESSED) && !catalogue_caps_test(index, depth_slot(bpp), SC_COMPRESSIBLE))
        block->field[HPB_COMPRESSED] = 0;
    return SaveFile(path, (HGLOBAL)block->field[HPB_DIB], (WORD)word(block, HPB_COLOR),
                    (WORD)word(block, HPB_COMPRESSED), (WORD)bpp);
}

/* Load-panel messages address a record field by its byte offset in the
   32-bit layout: field k at 4k. */
extern "C" LRESULT hm_loadinfo(UINT message, HostParamBlock *block) {
    int field = (int)(word(block, HPB_OFFSET) / 4);
    switch (message) {
        case HM_LOADINFO_PROGRESS: load_panel_begin_progress(word(block, HPB_ARG8), word(block, HPB_ARG9)); break;
        case HM_LOADINFO_NUMBER:
        case HM_LOADINFO_NUMBER2:
            if (word(block, HPB_OFFSET) % 4 == 0) loadinfo_set_number(field, word(block, HPB_ARG8));
            break;
        case HM_LOADINFO_TEXT:
            if (word(block, HPB_OFFSET) % 4 == 0) loadinfo_set_text(field, (const char *)block->field[HPB_PATH]);
            break;
        case HM_LOADINFO_STEP: load_panel_step(word(block, HPB_ARG8)); break;
        case HM_LOADINFO_READY: load_panel_info_ready(); break;
        case HM_LOADINFO_SWITCH: load_panel_set_shown(word(block, HPB_COLOR) == 1); break;
        default: break;
    }
    return 0;
}

extern "C" int host_format_message(UINT message, HostParamBlock *block, LRESULT *result) {
    LRESULT r = 0;
    if (!block) return 0;
    switch (message) {
        case HM_REGISTER_FORMAT: r = hm_register_format(block); break;
        case HM_CODE_TO_INDEX: r = hm_code_to_index(block); break;
        case HM_INDEX_TO_CODE: r = hm_index_to_code(block); break;
        case HM_OPEN_FILTER: r = hm_open_filter(block); break;
        case HM_CURRENT_CODES: r = hm_current_codes(block); break;
        case HM_CODE_TO_EXT: r = hm_code_to_ext(block); break;
        case HM_DETECT: r = hm_detect(block); break;
        case HM_HAS_LOADER: r = hm_has_loader(block); break;
        case HM_SAVE_FILTER: r = hm_save_filter(block); break;
        case HM_SAVE_FLAG_TEST: r = hm_save_flag_test(block); break;
        case HM_OPEN_WINDOW: r = hm_open_window(block); break;
        case HM_LOAD_FILE: r = hm_load_file(block); break;
        case HM_SAVE_FILE: r = hm_save_file(block); break;
        case HM_LOADINFO_PROGRESS:
        case HM_LOADINFO_NUMBER:
        case HM_LOADINFO_TEXT:
        case HM_LOADINFO_STEP:
        case HM_LOADINFO_NUMBER2:
        case HM_LOADINFO_READY:
        case HM_LOADINFO_SWITCH: r = hm_loadinfo(message, block); break;
        default: return 0;
    }
    if (result) *result = r;
    return 1;
}
