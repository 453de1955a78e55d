/* One file through load, conversion and save, as the batch facility
   converts one image window. */
#include <string.h>

#include "core/catalogue.h"
#include "core/conversion.h"
#include "core/image_traits.h"
#include "core/pipeline.h"
#include "core/save_options.h"
#include "lumacast_strings.h"
#include "lumaconv.h"
#include "shell/settings/settings.h"

/* The wild-card entry detects the input's format and reports a name that
   no format takes. */
static int load_input(const char *in, HGLOBAL *dib) {
    char path[MAX_PATH + 1];
    if (strlen(in) >= sizeof path) return tool_error("input name too long: %s", in), 0;
    strcpy(path, in);
    catalogue_set_current_load(catalogue_wildcard_index());
    return LoadFile(path, dib);
}

static int output_format(const char *out) {
    int index = detect_format(out);
    if (index < 0) {
        tool_error("no format has the extension of '%s'", out);
        return -1;
    }
    if (!catalogue_listed_for_save(index)) {
        catalogue_format_error(IDS_CANNOT_WRITE_FORMAT, index);
        return -1;
    }
    return index;
}

/* The depth, color and compression the save-options panel settles on for
   the output format, starting from the request or the image. */
static int choose_options(int index, int bits, int color, const ConvertOptions *o, WORD *word) {
    const FormatEntry *e = catalogue_entry(index);
    int startBits = o->depth ? o->depth : bits;
    int startColor = o->colorChoice >= 0 ? o->colorChoice : color;
    *word = save_panel_settle(save_options_from_image(startBits, startColor, o->compress), e->saveCaps);
    int slot = save_options_slot(*word);
    if (slot < 0 || e->saveCaps[slot] == 0) {
        tool_error("%s files cannot be written at any depth", e->extension);
        return 0;
    }
    if (o->depth && bits_of_depth_slot(slot) != o->depth) {
        tool_error("%s files cannot be written at %d bits per pixel", e->extension, o->depth);
        return 0;
    }
    return 1;
}

/* A 32-bit image written as an icon keeps its depth unless one is asked for. */
static int icon_from_32(int index, int bits, const ConvertOptions *o) {
    char ext[8];
    return bits == 32 && !o->depth && catalogue_extension(index, ext, sizeof ext) && strcmp(ext, "ICO") == 0;
}

int convert_file(const char *in, const char *out, const ConvertOptions *o) {
    int index = output_format(out);
    if (index < 0) return 0;
    HGLOBAL dib = NULL;
    if (!load_input(in, &dib)) return 0;
    if (!steps_apply(&o->steps, &dib)) {
        GlobalFree(dib);
        return 0;
    }
    int bits = 0, color = 1, ok = 0;
    WORD word = 0;
    if (!image_traits(dib, &bits, &color)) {
        tool_error("'%s' did not load as an image", in);
    } else if (choose_options(index, bits, color, o, &word)) {
        int chosenBits = bits_of_depth_slot(save_options_slot(word));
        ConversionPlan plan;
        if (icon_from_32(index, bits, o)) {
            /* as Save As does: the icon writer makes the mask from alpha */
            plan_save_as(bits, color, chosenBits, color, 1, 0, 0, &plan);
        } else {
            plan_batch(bits, color, chosenBits, !(word & SO_COLOR), settings_read(SET_SAVE_COLORCUT) != 0,
                       settings_read(SET_SAVE_DITHER) != 0, &plan);
        }
        HGLOBAL converted = NULL;
        if (conversion_execute(&plan, dib, &converted)) {
            char path[MAX_PATH + 1];
            if (strlen(out) >= sizeof path) {
                tool_error("output name too long: %s", out);
            } else {
                strcpy(path, out);
                catalogue_set_current_save(index);
                ok = SaveFile(path, converted ? converted : dib, (WORD)plan.resultColor,
                              (WORD)((word & SO_COMPRESSED) != 0), (WORD)chosenBits);
            }
            if (converted) GlobalFree(converted);
        }
    }
    GlobalFree(dib);
    return ok;
}
