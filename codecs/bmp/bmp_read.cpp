// The BMP, DIB and RLE reader: a DIB with or without the file header, its
// rows read whole after the color table (no per-pixel work), compressed
// rows expanded by the library.
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#ifdef __linux__
#include <sys/mman.h>
#endif

#include "codecs/bmp/bmp.h"
#include "codecs/bmp/bmp_internal.h"
#include "codecs/common/byte_source.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

const DWORD kCoreSize = 12;

int fail(UINT id) {
    codec_error(id);
    return 0;
}

int fail_header(int status) {
    switch (status) {
    case BMP_HEADER_NOT_DIB: return fail(IDS_BMP_NOT_LEGITIMATE);
    case BMP_HEADER_UNSUPPORTED: return fail(IDS_BMP_UNSUPPORTED);
    case BMP_HEADER_TOO_LARGE: return fail(IDS_CODEC_NO_MEMORY_FILE);
    default: return fail(IDS_BMP_ILLEGAL_OR_UNSUPPORTED);
    }
}

// Reads the color table into place: 4-byte entries, or the 3-byte entries
// of a core header widened to (blue, green, red, 0).
void read_table(ByteSource *s, const BmpHeader &h, RGBQUAD *table) {
    DWORD n = h.info.biClrUsed;
    if (h.foundSize != kCoreSize) {
        bs_read(s, table, (size_t)n * sizeof(RGBQUAD));
        return;
    }
    for (DWORD i = 0; i < n; i++) {
        bs_read(s, &table[i], 3);
        table[i].rgbReserved = 0;
    }
}

size_t table_bytes_in_file(const BmpHeader &h) {
    return (size_t)h.info.biClrUsed * (h.foundSize == kCoreSize ? 3 : 4);
}

// The file as the reader sees it: its first bytes (which hold every
// header and color table it accepts) through the bounded source, and the
// pixel bytes fetched straight into the DIB, so that a large file is not
// held in memory twice.
struct BmpInput {
    const BYTE *prefix;
    size_t prefixSize;
    size_t fileSize;
    void *context;
    // Copies up to n bytes from offset; returns how many there were.
    size_t (*fetch)(void *context, size_t offset, BYTE *dst, size_t n);
};

// Headers and table of any file the reader accepts fit in this much.
const size_t kPrefixBytes = 14 + 40 + 256 * 4;

size_t fetch_memory(void *context, size_t offset, BYTE *dst, size_t n) {
    const BmpInput *in = static_cast<const BmpInput *>(context);
    if (offset >= in->fileSize) return 0;
    size_t have = in->fileSize - offset < n ? in->fileSize - offset : n;
    memcpy(dst, in->prefix + offset, have);
    return have;
}

size_t fetch_file(void *context, size_t offset, BYTE *dst, size_t n) {
    FILE *f = static_cast<FILE *>(context);
    if (offset > (size_t)LONG_MAX || fseek(f, (long)offset, SEEK_SET) != 0) return 0;
    return fread(dst, 1, n, f);
}

// Where the pixel data starts: the file header's offset, else right after
// the color table; the end of the file when that lies beyond it.
size_t pixel_start(const ByteSource &s, const BmpHeader &h, size_t fileSize) {
    if (h.dataOffset) return h.dataOffset > fileSize - h.start ? fileSize : h.start + h.dataOffset;
    size_t table = table_bytes_in_file(h);
    return table > fileSize - s.pos ? fileSize : s.pos + table;
}

// Large pixel blocks are faulted in page by page as the rows arrive; on
// Linux, asking for huge pages cuts those faults by a factor of 512 (a
// hint only: nothing changes when the kernel declines).
void advise_large_block(void *p, size_t n) {
#ifdef __linux__
    const uintptr_t huge = (uintptr_t)2 << 20;
    uintptr_t from = ((uintptr_t)p + huge - 1) & ~(huge - 1), to = ((uintptr_t)p + n) & ~(huge - 1);
    if (to > from) madvise((void *)from, to - from, MADV_HUGEPAGE);
#else
    (void)p;
    (void)n;
#endif
}

int screen_shows_16_bits(void) {
    int planes, bits;
    screen_depth(&planes, &bits);
    return planes * bits >= 16;
}

int decode(const BmpInput &in, size_t maxImageBytes, HGLOBAL *out) {
    *out = NULL;
    bmp_begin_info(IDS_CREATOR_IBMPC);
    ByteSource s;
    bs_init(&s, in.prefix, in.prefixSize);
    BmpHeader h;
    int status = bmp_read_info_header(&s, &h);
    if (status != BMP_HEADER_OK) return fail_header(status);
    if (h.info.biBitCount == 16 && !screen_shows_16_bits()) return fail(IDS_BMP_UNSUPPORTED);
    if (h.rawBytes > maxImageBytes) return fail(IDS_CODEC_NO_MEMORY_FILE);
    bmp_header_info(&h.info);
    load_panel_step(1);

    // A Windows header promises all its pixel bytes; refuse a short file
    // before allocating what it claims.
    size_t start = pixel_start(s, h, in.fileSize);
    size_t pixels = h.info.biSizeImage;
    if (h.foundSize != kCoreSize && pixels > in.fileSize - start) return fail(IDS_BMP_NOT_LEGITIMATE);
    size_t tableBytes = (size_t)h.info.biClrUsed * sizeof(RGBQUAD);
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + tableBytes + pixels);
    BYTE *p = dib ? (BYTE *)GlobalLock(dib) : NULL;
    if (!p) {
        if (dib) GlobalFree(dib);
        return fail(IDS_CODEC_NO_MEMORY_FILE);
    }
    load_panel_step(2);
    memcpy(p, &h.info, sizeof h.info);
    read_table(&s, h, (RGBQUAD *)(p + sizeof h.info));
    // The rows are read whole, no per-pixel work; a short OS/2 file keeps
    // what it has and the rest of its rows stay 0.
    BYTE *bits = p + sizeof h.info + tableBytes;
    advise_large_block(bits, pixels);
    size_t have = in.fetch(in.context, start, bits, pixels);
    GlobalUnlock(dib);
    load_panel_step(3);
    if (have < pixels && h.foundSize != kCoreSize) {
        GlobalFree(dib);
        return fail(IDS_BMP_NOT_LEGITIMATE);
    }

    load_panel_step(4);
    dib = bmp_expand(dib);
    if (dib) dib = bmp_fix(dib);
    if (!dib) return 0;
    load_panel_step(5);
    ZYN_DIB_FixPalette(dib);
    *out = dib;
    return 1;
}

}  // namespace

extern "C" int bmp_decode_memory(const BYTE *data, size_t size, size_t maxImageBytes, HGLOBAL *out) {
    BmpInput in = {data, size, size, NULL, fetch_memory};
    in.context = &in;
    return decode(in, maxImageBytes, out);
}

extern "C" int WINAPI BmpLoad(LPSTR path, HGLOBAL *out) {
    if (out) *out = NULL;
    if (!path || !out) return 0;
    FILE *f = fopen(path, "rb");
    if (!f) return 0;  // no message: the pipeline's caller knows
    long end = -1;
    if (fseek(f, 0, SEEK_END) == 0) end = ftell(f);
    BYTE prefix[kPrefixBytes];
    size_t got = 0;
    if (end >= 0 && fseek(f, 0, SEEK_SET) == 0) got = fread(prefix, 1, sizeof prefix, f);
    if (end < 0) {
        fclose(f);
        return 0;
    }
    BmpInput in = {prefix, got, (size_t)end, f, fetch_file};
    int ok = decode(in, BMP_NO_IMAGE_LIMIT, out);
    fclose(f);
    return ok;
}
