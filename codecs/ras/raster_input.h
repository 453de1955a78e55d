/* The file handler shared by the Sun raster, SGI, PPM and WPG readers: the
   file viewed without a copy where the system allows, then decoded from
   memory.  Same contract as codec_load_whole_file. */
#ifndef LC_CODECS_RASTER_INPUT_H
#define LC_CODECS_RASTER_INPUT_H

#include "codecs/common/byte_source.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/file_view.h"
#include "lumacast_strings.h"

static inline int raster_load_file(const char *path, HGLOBAL *out, CodecDecodeProc decode) {
    if (!out) return 0;
    *out = NULL;
    FileView file;
    int tooLarge;
    if (!file_view_open(path, &file, &tooLarge)) return tooLarge ? load_format_error(IDS_FMT_NO_MEMORY_LOAD) : 0;
    int ok = decode(file.data, file.size, out);
    file_view_close(&file);
    return ok;
}

#endif
