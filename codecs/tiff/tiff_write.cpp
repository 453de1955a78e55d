/* TIFF writer: one image, chunky, top row first; uncompressed or coded as
   the depth's compression setting says. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/codec_report.h"
#include "codecs/common/dib_build.h"
#include "codecs/tiff/tiff.h"
#include "codecs/tiff/tiff_glue.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/settings/settings.h"

/* Bytes of data a strip aims at (rows per strip = this / row bytes). */
#define TIFF_STRIP_BYTES 14336u

typedef struct TiffPlan {
    WORD depth;          /* 1, 4, 8, 16, 24 or 32: what the file holds */
    uint16_t samples, bitsPerSample;
    uint16_t compression;
    uint16_t photometric;
} TiffPlan;

/* The depth written: the request, when the DIB can give it (16 bits are
   packed from a 24-bit DIB); otherwise the DIB's own, so that the tags
   always describe the rows. */
static WORD written_depth(const DibParts *d, WORD requested) {
    return requested == 16 && d->bpp == 24 ? 16 : d->bpp;
}

static UINT compression_setting(WORD depth) {
    switch (depth) {
        case 1: return SET_TIF_1_BIT_COMPRESSION;
        case 4: return SET_TIF_4_BIT_COMPRESSION;
        case 8: return SET_TIF_8_BIT_COMPRESSION;
        case 16: return SET_TIF_16_BIT_COMPRESSION;
        default: return SET_TIF_24_BIT_COMPRESSION;
    }
}

/* The compression code of a compressed save; 0 after reporting a setting
   the library refuses. */
static uint16_t chosen_compression(WORD depth) {
    switch (settings_read(compression_setting(depth))) {
        case 0: return codec_error(IDS_TIF_LZW_PATENTED), 0;
        case 1: return COMPRESSION_PACKBITS;
        case 2: return COMPRESSION_CCITTRLE;
        case 3: return COMPRESSION_CCITTFAX3;
        case 4: return COMPRESSION_CCITTFAX4;
        default: return codec_error(IDS_TIF_UNKNOWN_COMPRESSION), 0;
    }
}

/* A bilevel image whose first colour is light is written white-is-zero. */
static uint16_t photometric_for(const DibParts *d, WORD depth) {
    if (depth == 1) return d->colors && d->colors[0].rgbBlue ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
    if (depth == 4 || depth == 8) return PHOTOMETRIC_PALETTE;
    return PHOTOMETRIC_RGB;
}

static int plan_write(const DibParts *d, WORD bpp, WORD compressed, TiffPlan *p) {
    memset(p, 0, sizeof *p);
    p->depth = written_depth(d, bpp);
    if (d->bpp == 16) return save_format_error(IDS_FMT_UNSUPPORTED); /* DIBs of 16-bit pixels: not ours */
    switch (p->depth) {
        case 16: p->samples = 1, p->bitsPerSample = 16; break;
        case 24: p->samples = 3, p->bitsPerSample = 8; break;
        case 32: p->samples = 4, p->bitsPerSample = 8; break;
        default: p->samples = 1, p->bitsPerSample = p->depth;
    }
    p->compression = compressed ? chosen_compression(p->depth) : COMPRESSION_NONE;
    p->photometric = photometric_for(d, p->depth);
    return p->compression != 0;
}

static uint32_t rows_per_strip(const TiffPlan *p, LONG width) {
    if (p->compression == COMPRESSION_CCITTFAX4) return 0xFFFFFFFFu;
    uint64_t rowBytes = ((uint64_t)p->bitsPerSample * p->samples * (uint64_t)width + 31) / 32 * 4;
    uint64_t rows = TIFF_STRIP_BYTES / rowBytes;
    /* A row wider than a strip's aim still needs a strip of its own. */
    return rows ? (uint32_t)rows : 1;
}

/* 2^bits entries, each 8-bit component times 256; past the DIB's table,
   black. */
static int set_color_map(TIFF *tif, const DibParts *d, WORD depth) {
    uint16_t red[256], green[256], blue[256];
    DWORD n = 1u << depth, have = d->colors ? d->header->biClrUsed : 0;
    if (d->colors && (have == 0 || have > n)) have = n;
    for (DWORD i = 0; i < n; i++) {
        RGBQUAD q = i < have ? d->colors[i] : RGBQUAD{0, 0, 0, 0};
        red[i] = (uint16_t)(q.rgbRed << 8);
        green[i] = (uint16_t)(q.rgbGreen << 8);
        blue[i] = (uint16_t)(q.rgbBlue << 8);
    }
    return TIFFSetField(tif, TIFFTAG_COLORMAP, red, green, blue);
}

static int set_tags(TIFF *tif, const DibParts *d, const TiffPlan *p) {
    int ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, (uint32_t)d->width) &&
             TIFFSetField(tif, TIFFTAG_IMAGELENGTH, (uint32_t)d->height) &&
             TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
             TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, p->samples) &&
             TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, p->bitsPerSample) &&
             TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
             TIFFSetField(tif, TIFFTAG_COMPRESSION, p->compression) &&
             TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, p->photometric);
    if (ok && p->photometric == PHOTOMETRIC_PALETTE) ok = set_color_map(tif, d, p->depth);
    if (ok && p->depth == 32) {
        uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    return ok && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip(p, d->width));
}

/* One DIB row as the file stores it. */
static const BYTE *file_row(const TiffPlan *p, const BYTE *src, LONG width, BYTE *line) {
    switch (p->depth) {
        case 16:
            for (LONG x = 0; x < width; x++, src += 3) {
                unsigned w = (unsigned)(src[2] >> 3) << 10 | (unsigned)(src[1] >> 3) << 5 | (unsigned)(src[0] >> 3);
                line[2 * x] = (BYTE)w;
                line[2 * x + 1] = (BYTE)(w >> 8);
            }
            return line;
        case 24:
            for (LONG x = 0; x < width; x++, src += 3) {
                line[3 * x] = src[2];
                line[3 * x + 1] = src[1];
                line[3 * x + 2] = src[0];
            }
            return line;
        case 32:
            for (LONG x = 0; x < width; x++, src += 4) {
                line[4 * x] = src[2];
                line[4 * x + 1] = src[1];
                line[4 * x + 2] = src[0];
                line[4 * x + 3] = src[3];
            }
            return line;
        default: return src;
    }
}

/* Every row from the top; the library may alter the line it is given, so
   even rows written as they are go through the line buffer. */
static int write_rows(TIFF *tif, const DibParts *d, const TiffPlan *p, BYTE *line, size_t lineBytes) {
    for (LONG y = 0; y < d->height; y++) {
        if (!codec_row_done()) return 0;
        const BYTE *row = dib_row_from_top(d, y);
        const BYTE *out = file_row(p, row, d->width, line);
        if (out == row) memcpy(line, row, lineBytes);
        if (TIFFWriteScanline(tif, line, (uint32_t)y, 0) < 0) return 0;
    }
    return 1;
}

/* File open: tags, rows, directory.  0 after reporting. */
static int write_image(FILE *file, const DibParts *d, const TiffPlan *p) {
    size_t lineBytes = ((size_t)d->width * p->samples * p->bitsPerSample + 7) / 8;
    BYTE *line = (BYTE *)malloc(lineBytes + 16);
    if (!line) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    TiffSession session;
    TIFF *tif = tiff_open_output(&session, file);
    int ok = tif != NULL;
    if (ok && !set_tags(tif, d, p)) ok = tiff_report_failure(&session, IDS_TIF_BAD_TAG_VALUE);
    if (ok) {
        int stopped = 0;
        if (!write_rows(tif, d, p, line, lineBytes)) {
            stopped = session.errors == 0;
            ok = 0;
        }
        /* The directory goes out here, where its failure can be seen. */
        if (ok && !TIFFFlush(tif)) ok = 0;
        if (!ok && !stopped) tiff_report_failure(&session, IDS_TIF_WRITE_FILE);
    } else if (!tif) {
        tiff_report_failure(&session, IDS_TIF_WRITE_HEADER_SAVE);
    }
    tiff_close(&session, tif);
    free(line);
    return ok;
}

extern "C" int WINAPI TiffSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    DibParts d;
    if (!dib_open(dib, &d)) return save_format_error(IDS_FMT_NO_MEMORY_SAVE);
    TiffPlan plan;
    int ok = plan_write(&d, bpp, compressed, &plan);
    FILE *file = NULL;
    if (ok && !(file = fopen(path, "w+b"))) ok = (codec_error(IDS_CODEC_OPEN_OUTPUT), 0);
    if (ok) {
        setvbuf(file, NULL, _IOFBF, 1 << 18);
        ok = write_image(file, &d, &plan);
        if (fclose(file) != 0 && ok) ok = (codec_error(IDS_TIF_WRITE_FILE), 0);
        if (!ok) remove(path);
    }
    dib_close(&d);
    (void)color;
    return ok;
}
