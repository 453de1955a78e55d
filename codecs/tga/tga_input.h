/* The Targa file as the reader sees it: a read-only mapping of the file
   where the system offers one (no copy, and the pages come in at once),
   else the whole file read into memory. */
#ifndef LC_CODECS_TGA_INPUT_H
#define LC_CODECS_TGA_INPUT_H

#include <stddef.h>

#include "codecs/common/byte_source.h"

typedef struct TgaInput {
    const BYTE *data;
    size_t size;
    void *view;    /* the mapping, when there is one */
    CodecFile copy; /* otherwise the file read whole */
} TgaInput;

/* 1 on success; 0 when the file cannot be opened (no message) or is larger
   than a reader takes (then *tooLarge is set). */
int tga_input_open(const char *path, TgaInput *in, int *tooLarge);
void tga_input_close(TgaInput *in);

#endif
