/* TIFF reader: the first image of the file, one scan line at a time, into
   a bottom-up DIB.  The whole file is handed to the library from memory;
   TiffLoad only maps (or reads) the file. */
#include <stdlib.h>
#include <string.h>

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"
#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tiff/tiff.h"
#include "codecs/tiff/tiff_glue.h"
#include "codecs/tiff/tiff_layout.h"
#include "codecs/common/file_view.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"

typedef struct TiffRead {
    TiffSession session;
    TIFF *tif;
    TiffLayout layout;
    BYTE *line;
    DibParts dib;
} TiffRead;

/* The fewest bytes of coded data that can hold the image: every byte
   uncompressed, two bytes for each 128 of a row in PackBits, and a bit a
   row for the fax codes (a blank Group 4 row).  Checked against the file
   before the DIB is allocated, so a small file cannot claim a huge image. */
static int data_can_hold_image(const TiffLayout *l, uint64_t fileSize) {
    uint64_t sampleBits, rowBytes, rows, least;
    unsigned perPixel = l->planar == PLANARCONFIG_SEPARATE ? 1 : l->samples;
    if (!lc_mul_u64((uint64_t)l->width * perPixel, l->bitsPerSample, &sampleBits)) return 0;
    rowBytes = (sampleBits + 7) / 8;
    if (!lc_mul_u64(l->height, l->passes, &rows)) return 0;
    if (l->compression == COMPRESSION_NONE) {
        if (!lc_mul_u64(rowBytes, rows, &least)) return 0;
    } else if (l->compression == COMPRESSION_PACKBITS) {
        if (!lc_mul_u64((rowBytes + 127) / 128 * 2, rows, &least)) return 0;
    } else {
        least = (rows + 7) / 8;
    }
    return least <= fileSize;
}

static void fill_load_info(const TiffLayout *l) {
    loadinfo_set_number(LI_BITS_PER_PIXEL, l->bitsPerSample == 16 && l->gray ? 8 : l->bitsPerSample);
    loadinfo_set_number(LI_TYPE, 0);
    loadinfo_set_number(LI_GRAY, (DWORD)l->gray);
    loadinfo_set_number(LI_PLANES, l->samples);
    loadinfo_set_number(LI_COMPRESSED, l->compression != COMPRESSION_NONE);
    loadinfo_set_number(LI_VERSION, 5);
}

/* Sizes checked, then the scan-line buffer, the table and the DIB. */
static int prepare_image(TiffRead *r) {
    const TiffLayout *l = &r->layout;
    if (l->width == 0 || l->height == 0) return codec_error(IDS_TIF_BAD_DATA), 0;
    if (l->width > LC_MAX_DIMENSION || l->height > LC_MAX_DIMENSION ||
        !dib_size_ok((LONG)l->width, (LONG)l->height, l->depth, l->colors, NULL))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (!data_can_hold_image(l, r->session.size)) return codec_error(IDS_TIF_INCOMPLETE), 0;
    uint64_t lineBytes = (uint64_t)TIFFScanlineSize64(r->tif);
    size_t lineSize;
    if (lineBytes == 0) return tiff_report_failure(&r->session, IDS_TIF_BAD_DATA);
    if (!lc_to_size(lineBytes + 16, &lineSize) || !(r->line = (BYTE *)malloc(lineSize)))
        return codec_error(IDS_CODEC_NO_MEMORY_FILE), 0;
    load_panel_begin_progress(0, l->height * l->passes);
    fill_load_info(l);
    BITMAPINFOHEADER info;
    if (!MakeDibHeader(&info, (LONG)l->width, (LONG)l->height, l->depth, l->colors))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    RGBQUAD table[256];
    if (!tiff_fill_table(l, table)) return 0;
    if (!dib_create((LONG)l->width, (LONG)l->height, l->depth, l->colors, &r->dib))
        return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
    if (l->colors) memcpy(r->dib.colors, table, l->colors * sizeof(RGBQUAD));
    return 1;
}

/* Every pass (plane) from the top row down; 0 after reporting, or
   silently when the user stopped the load. */
static int read_rows(TiffRead *r) {
    const TiffLayout *l = &r->layout;
    DWORD done = 0, total = l->height * l->passes;
    for (unsigned pass = 0; pass < l->passes; pass++) {
        for (uint32_t y = 0; y < l->height; y++) {
            if (!codec_row_done()) return 0;
            if (TIFFReadScanline(r->tif, r->line, y, (uint16_t)pass) < 0)
                return tiff_report_failure(&r->session, IDS_TIF_READ_IMAGE);
            tiff_convert_row(l, pass, r->line, dib_row_from_top(&r->dib, (LONG)y));
            done++;
            if ((done & 15) == 0 || done == total) load_panel_step(done);
        }
    }
    return 1;
}

extern "C" int TiffDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    TiffRead r;
    memset(&r, 0, sizeof r);
    r.tif = tiff_open_memory(&r.session, data, size);
    int ok = r.tif ? 1 : tiff_report_failure(&r.session, IDS_TIF_READ_HEADER);
    if (ok) ok = tiff_read_layout(r.tif, data, size, &r.layout);
    if (ok) ok = prepare_image(&r);
    if (ok) ok = read_rows(&r);
    if (r.tif) tiff_close(&r.session, r.tif);
    free(r.line);
    return dib_finish(&r.dib, ok, out);
}

extern "C" int WINAPI TiffLoad(LPSTR path, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    /* Mapped where the system allows: strips are decoded straight from the
       file's pages, with no copy of the file in memory. */
    FileView file;
    int tooLarge = 0;
    if (!file_view_open(path, &file, &tooLarge)) {
        if (tooLarge) return load_format_error(IDS_FMT_NO_MEMORY_LOAD);
        return codec_error(IDS_TIF_OPEN_FILE), 0;
    }
    int ok = TiffDecode(file.data, file.size, out);
    file_view_close(&file);
    return ok;
}
