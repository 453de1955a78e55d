#include "codecs/tiff/tiff_layout.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/common/codec_report.h"
#include "codecs/tiff/tiff_tags.h"
#include "core/messages.h"
#include "lumacast_strings.h"

static int compression_readable(uint16_t c) {
    return c == COMPRESSION_NONE || c == COMPRESSION_CCITTRLE || c == COMPRESSION_CCITTFAX3 ||
           c == COMPRESSION_CCITTFAX4 || c == COMPRESSION_CCITTRLEW || c == COMPRESSION_PACKBITS;
}

static int is_fax(uint16_t c) { return c != COMPRESSION_NONE && c != COMPRESSION_PACKBITS; }

/* A file without the tag: several samples are RGB; one sample of more than
   one bit is a palette image when it has a colour map, else gray. */
static uint16_t photometric_of(TIFF *tif, const TiffLayout *l) {
    uint16_t p;
    if (TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &p)) return p;
    if (l->samples > 1) return TIFF_PHOTO_RGB;
    if (l->bitsPerSample > 1 && l->map[0]) return TIFF_PHOTO_PALETTE;
    return TIFF_PHOTO_BLACK_IS_ZERO;
}

/* The gray response, which the library does not keep: the unit (default
   2, hundredths) and a curve of one density per sample value. */
static void read_gray_response(TIFF *tif, const BYTE *file, size_t fileSize, TiffLayout *l) {
    uint16_t unit = 2;
    l->responseUnit = tiff_raw_shorts(tif, file, fileSize, TIFFTAG_GRAYRESPONSEUNIT, &unit, 1) ? unit : 2;
    uint32_t needed = l->bitsPerSample <= 8 ? 1u << l->bitsPerSample : 0;
    l->hasCurve = needed && tiff_raw_shorts(tif, file, fileSize, TIFFTAG_GRAYRESPONSECURVE, l->curve, needed) >= needed;
}

/* Gray and palette images: one sample a pixel, 1, 2, 4, 8 or (gray) 16 bits. */
static int decide_single_sample(TiffLayout *l) {
    if (l->samples != 1) return codec_error(IDS_TIF_SAMPLES_PER_PIXEL), 0;
    if (l->bitsPerSample == 16) {
        if (l->photometric == TIFF_PHOTO_PALETTE) return load_format_error(IDS_FMT_UNSUPPORTED);
        l->depth = 8;
        l->colors = 256;
        l->kind = TIFF_ROW_GRAY16;
        return 1;
    }
    l->colors = 1u << l->bitsPerSample;
    /* A DIB has no 2-bit pixels: they widen to 4 bits, with 4 colours. */
    l->depth = l->bitsPerSample == 2 ? 4 : l->bitsPerSample;
    l->kind = l->bitsPerSample == 2 ? TIFF_ROW_WIDEN_2BIT : TIFF_ROW_COPY;
    return 1;
}

/* RGB: 8-bit samples, three or four (the fourth kept as alpha), chunky or
   in planes; or the one 16-bit sample of 5-5-5 colour this writer makes. */
static int decide_rgb(TiffLayout *l) {
    if (l->samples == 1 && l->bitsPerSample == 16) {
        l->depth = 24;
        l->kind = TIFF_ROW_RGB555;
        return 1;
    }
    if (l->samples != 3 && l->samples != 4) return codec_error(IDS_TIF_SAMPLES_PER_PIXEL), 0;
    if (l->bitsPerSample != 8) return load_format_error(IDS_FMT_UNSUPPORTED);
    l->depth = l->samples == 3 ? 24 : 32;
    l->kind = l->samples == 3 ? TIFF_ROW_RGB : TIFF_ROW_RGBA;
    if (l->planar == PLANARCONFIG_SEPARATE) {
        l->kind = TIFF_ROW_PLANE;
        l->passes = l->samples;
    }
    return 1;
}

static int decide_layout(TiffLayout *l) {
    l->passes = 1;
    l->gray = l->photometric == TIFF_PHOTO_WHITE_IS_ZERO || l->photometric == TIFF_PHOTO_BLACK_IS_ZERO;
    switch (l->photometric) {
        case TIFF_PHOTO_WHITE_IS_ZERO:
        case TIFF_PHOTO_BLACK_IS_ZERO:
        case TIFF_PHOTO_PALETTE: return decide_single_sample(l);
        case TIFF_PHOTO_RGB: return decide_rgb(l);
        case TIFF_PHOTO_SEPARATED:
            if (l->bitsPerSample * l->samples != 32 || l->planar == PLANARCONFIG_SEPARATE)
                return codec_error(IDS_TIF_UNSUPPORTED_CMYK), 0;
            l->depth = 24;
            l->kind = TIFF_ROW_CMYK;
            return 1;
        default: return codec_error(IDS_TIF_UNKNOWN_PHOTOMETRIC), 0;
    }
}

int tiff_read_layout(TIFF *tif, const BYTE *file, size_t fileSize, TiffLayout *l) {
    memset(l, 0, sizeof *l);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &l->compression);
    if (l->compression == COMPRESSION_LZW) return codec_error(IDS_TIF_LZW_PATENTED), 0;
    if (!compression_readable(l->compression)) return codec_error(IDS_TIF_UNKNOWN_COMPRESSION), 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &l->bitsPerSample);
    uint16_t b = l->bitsPerSample;
    if (b != 1 && b != 2 && b != 4 && b != 8 && b != 16) return load_format_error(IDS_FMT_UNSUPPORTED);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &l->samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &l->planar);
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &l->width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &l->height))
        return codec_error(IDS_TIF_MISSING_FIELD), 0;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &l->map[0], &l->map[1], &l->map[2])) l->map[0] = NULL;
    read_gray_response(tif, file, fileSize, l);
    l->photometric = photometric_of(tif, l);
    /* The fax codes hold bilevel images only: refused here, before a DIB
       the data could never fill is allocated. */
    if (is_fax(l->compression) && (b != 1 || l->samples != 1)) return codec_error(IDS_TIF_FAX_BITS), 0;
    return decide_layout(l);
}

/* 65535 x 10^(-d / 10^unit): the intensity of optical density d. */
static uint16_t intensity(uint16_t density, uint16_t unit) {
    if (unit < 1 || unit > 5) unit = 2;
    double v = 65535.0 * pow(10.0, -(double)density / pow(10.0, unit));
    return (uint16_t)(v + 0.5);
}

static void gray_levels(const TiffLayout *l, uint16_t *level) {
    DWORD n = l->colors;
    int inverted = l->photometric == TIFF_PHOTO_WHITE_IS_ZERO;
    for (DWORD i = 0; i < n; i++) {
        if (l->hasCurve)
            level[i] = intensity(l->curve[i], l->responseUnit);
        else
            level[i] = (uint16_t)((uint32_t)(inverted ? n - 1 - i : i) * 65535u / (n - 1));
    }
    /* The darkest end is black whatever the curve says. */
    if (l->hasCurve) level[inverted ? n - 1 : 0] = 0;
}

static void fill_arrays(const TiffLayout *l, uint16_t *red, uint16_t *green, uint16_t *blue) {
    DWORD n = l->colors;
    if (l->photometric == TIFF_PHOTO_PALETTE && l->map[0]) {
        memcpy(red, l->map[0], n * sizeof(uint16_t));
        memcpy(green, l->map[1], n * sizeof(uint16_t));
        memcpy(blue, l->map[2], n * sizeof(uint16_t));
        return;
    }
    if (l->photometric == TIFF_PHOTO_PALETTE) {
        for (DWORD i = 0; i < n; i++) red[i] = (uint16_t)(i * 65535u / (n - 1));
    } else {
        gray_levels(l, red);
    }
    memcpy(green, red, n * sizeof(uint16_t));
    memcpy(blue, red, n * sizeof(uint16_t));
}

/* A table of 8-bit values (some writers store them so) is taken as it is;
   a table of 16-bit values by its high bytes. */
static void to_rgbquads(const uint16_t *red, const uint16_t *green, const uint16_t *blue, DWORD n, RGBQUAD *table) {
    int eightBit = 1;
    for (DWORD i = 0; i < n; i++)
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eightBit = 0;
    int shift = eightBit ? 0 : 8;
    for (DWORD i = 0; i < n; i++) {
        table[i].rgbRed = (BYTE)(red[i] >> shift);
        table[i].rgbGreen = (BYTE)(green[i] >> shift);
        table[i].rgbBlue = (BYTE)(blue[i] >> shift);
        table[i].rgbReserved = 0;
    }
}

int tiff_fill_table(const TiffLayout *l, RGBQUAD *table) {
    DWORD n = l->colors;
    if (!n) return 1;
    uint16_t *red = (uint16_t *)malloc(n * sizeof(uint16_t));
    uint16_t *green = (uint16_t *)malloc(n * sizeof(uint16_t));
    uint16_t *blue = (uint16_t *)malloc(n * sizeof(uint16_t));
    int ok = red && green && blue;
    if (ok) {
        fill_arrays(l, red, green, blue);
        to_rgbquads(red, green, blue, n, table);
    } else {
        codec_error(IDS_CODEC_NO_MEMORY_FILE);
    }
    free(red);
    free(green);
    free(blue);
    return ok;
}

static BYTE clamp_ink(int v) { return (BYTE)(v < 0 ? 0 : v); }

void tiff_convert_row(const TiffLayout *l, unsigned pass, const BYTE *src, BYTE *dst) {
    uint32_t w = l->width;
    switch (l->kind) {
        case TIFF_ROW_COPY: memcpy(dst, src, ((size_t)w * l->bitsPerSample + 7) / 8); return;
        case TIFF_ROW_WIDEN_2BIT:
            memset(dst, 0, ((size_t)w + 1) / 2);
            for (uint32_t x = 0; x < w; x++) {
                BYTE v = (BYTE)((src[x >> 2] >> (6 - 2 * (x & 3))) & 3);
                dst[x >> 1] |= (BYTE)(x & 1 ? v : v << 4);
            }
            return;
        case TIFF_ROW_GRAY16:
            for (uint32_t x = 0; x < w; x++) dst[x] = src[2 * x + 1];
            return;
        case TIFF_ROW_RGB555:
            for (uint32_t x = 0; x < w; x++, dst += 3) {
                unsigned v = (unsigned)src[2 * x] | (unsigned)src[2 * x + 1] << 8;
                dst[0] = (BYTE)((v & 0x1F) * 8);
                dst[1] = (BYTE)((v & 0x3E0) >> 2);
                dst[2] = (BYTE)((v & 0x7C00) >> 7);
            }
            return;
        case TIFF_ROW_RGB:
            for (uint32_t x = 0; x < w; x++, src += 3, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
            return;
        case TIFF_ROW_RGBA:
            for (uint32_t x = 0; x < w; x++, src += 4, dst += 4) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
                dst[3] = src[3];
            }
            return;
        case TIFF_ROW_CMYK:
            for (uint32_t x = 0; x < w; x++, src += 4, dst += 3) {
                int k = src[3];
                dst[0] = clamp_ink(255 - (src[2] + k));
                dst[1] = clamp_ink(255 - (src[1] + k));
                dst[2] = clamp_ink(255 - (src[0] + k));
            }
            return;
        case TIFF_ROW_PLANE: {
            unsigned step = l->depth / 8u;
            unsigned at = pass < 3 ? 2 - pass : pass;
            for (uint32_t x = 0; x < w; x++) dst[x * step + at] = src[x];
            return;
        }
    }
}
