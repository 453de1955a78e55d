/* Tags read straight from the directory in memory: the library drops some
   tags it does not keep (the gray response unit and curve), so the reader
   looks them up itself, through the bounded byte source. */
#ifndef LC_CODECS_TIFF_TAGS_H
#define LC_CODECS_TIFF_TAGS_H

#include <stddef.h>
#include <stdint.h>

#include <tiffio.h>

#include "platform.h"

/* The SHORT values of `tag` in the current directory of `tif`, whose file
   is data[0..size): up to maxCount of them into values.  Returns how many
   the tag holds (0 when it is absent, of another type or lies outside the
   file); values beyond maxCount are not read. */
uint32_t tiff_raw_shorts(TIFF *tif, const BYTE *data, size_t size, uint16_t tag, uint16_t *values,
                         uint32_t maxCount);

#endif
