#include "codecs/tagged/load_info.h"

#include "codecs/tagged/text_out.h"
#include "core/load_panel.h"
#include "lumacast_strings.h"

void tagged_load_info(DWORD bitsPerPixel) {
    char creator[32];
    loadinfo_set_number(LI_PLANES, 1);
    loadinfo_set_number(LI_GRAY, 0);
    loadinfo_set_number(LI_COMPRESSED, 0);
    loadinfo_set_number(LI_BITS_PER_PIXEL, bitsPerPixel);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_VERSION, 1);
    text_load(IDS_CREATOR_IBMPC, creator, sizeof creator);
    loadinfo_set_text(LI_CREATOR, creator);
}
