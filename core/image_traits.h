/* The depth level and color flag of a freshly loaded DIB, as an image
   window works them out when it installs an image. */
#ifndef LC_IMAGE_TRAITS_H
#define LC_IMAGE_TRAITS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* bits: 1, 4, 8, 24 or 32 (the 16-bit level cannot be told from the DIB
   and reads as 24); color: 0 when every color-table entry of a palette
   image is a gray.  0 when the block is not a usable DIB. */
int image_traits(HGLOBAL dib, int *bits, int *color);

#ifdef __cplusplus
}
#endif

#endif
