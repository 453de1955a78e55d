/* The load information both readers give alike. */
#ifndef LC_CODECS_TAGGED_LOAD_INFO_H
#define LC_CODECS_TAGGED_LOAD_INFO_H

#include "platform.h"

/* Planes 1, not gray, not compressed, type 0, version 1, creator "IBMPC",
   and the file's bits per pixel. */
void tagged_load_info(DWORD bitsPerPixel);

#endif
