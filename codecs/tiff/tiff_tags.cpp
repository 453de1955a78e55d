#include "codecs/tiff/tiff_tags.h"

#include "codecs/common/byte_source.h"
#include "codecs/common/checked.h"

enum { TIFF_TYPE_SHORT = 3 };

typedef struct RawDirectory {
    ByteSource src;
    int bigEndian;
    int big; /* BigTIFF: 64-bit counts and offsets */
} RawDirectory;

static uint16_t raw_u16(RawDirectory *d) { return d->bigEndian ? bs_u16be(&d->src) : bs_u16le(&d->src); }

static uint32_t raw_u32(RawDirectory *d) { return d->bigEndian ? bs_u32be(&d->src) : bs_u32le(&d->src); }

static uint64_t raw_u64(RawDirectory *d) {
    uint64_t a = raw_u32(d), b = raw_u32(d);
    return d->bigEndian ? a << 32 | b : b << 32 | a;
}

static uint64_t raw_count(RawDirectory *d) { return d->big ? raw_u64(d) : raw_u32(d); }

/* Reads n values at the cursor. */
static int read_values(RawDirectory *d, uint16_t *values, uint32_t n) {
    for (uint32_t i = 0; i < n; i++) values[i] = raw_u16(d);
    return !d->src.overrun;
}

uint32_t tiff_raw_shorts(TIFF *tif, const BYTE *data, size_t size, uint16_t tag, uint16_t *values,
                         uint32_t maxCount) {
    RawDirectory d;
    bs_init(&d.src, data, size);
    d.bigEndian = TIFFIsBigEndian(tif);
    d.big = TIFFIsBigTIFF(tif);
    uint64_t at = TIFFCurrentDirOffset(tif);
    size_t pos;
    if (!lc_to_size(at, &pos) || !bs_seek(&d.src, pos)) return 0;
    uint64_t entries = d.big ? raw_u64(&d) : raw_u16(&d);
    unsigned entryBytes = d.big ? 20 : 12, inlineBytes = d.big ? 8 : 4;
    for (uint64_t i = 0; i < entries && !d.src.overrun; i++) {
        size_t entry = d.src.pos;
        uint16_t t = raw_u16(&d), type = raw_u16(&d);
        uint64_t count = raw_count(&d);
        if (t != tag) {
            if (!bs_seek(&d.src, entry + entryBytes)) return 0;
            continue;
        }
        if (type != TIFF_TYPE_SHORT || count == 0 || count > UINT32_MAX) return 0;
        uint32_t n = count < maxCount ? (uint32_t)count : maxCount;
        if (count * 2 > inlineBytes) {
            uint64_t offset = d.big ? raw_u64(&d) : raw_u32(&d);
            if (!lc_to_size(offset, &pos) || !bs_seek(&d.src, pos)) return 0;
        }
        /* Even the values not kept must lie inside the file. */
        uint64_t end;
        if (!lc_mad_u64(count, 2, d.src.pos, &end) || end > size) return 0;
        return read_values(&d, values, n) ? (uint32_t)count : 0;
    }
    return 0;
}
