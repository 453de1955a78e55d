#include <ctype.h>

#include "core/catalogue.h"
#include "core/messages.h"

/* Format messages name the format by its extension ("Not a legal WPG
   file"), whatever case the entry was registered with. */
extern "C" int catalogue_format_error(UINT id, int index) {
    char ext[LC_EXT_SIZE] = "";
    catalogue_extension(index, ext, sizeof ext);
    for (char *c = ext; *c; c++) *c = (char)toupper((unsigned char)*c);
    return lc_message(MSG_ERROR, id, ext);
}
