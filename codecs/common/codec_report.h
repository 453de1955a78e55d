/* How codecs name the format they serve in a message: the catalogue entry
   in use (the current load format while loading, the current save format
   while saving), so BMP, DIB and RLE each see their own extension. */
#ifndef LC_CODEC_REPORT_H
#define LC_CODEC_REPORT_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Format messages ("Not a legal %s file") for the entry being loaded or
   saved; both return 0 so a codec can write `return load_format_error(id);`. */
int load_format_error(UINT id);
int save_format_error(UINT id);

/* Called once per row by readers and writers: keeps the interface alive.
   Returns the background routine's answer (0 when the user asked to stop). */
int codec_row_done(void);

#ifdef __cplusplus
}
#endif

#endif
