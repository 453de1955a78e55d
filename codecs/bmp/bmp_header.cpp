// Reading the headers of a DIB file: the optional 14-byte file header and
// either the 40-byte Windows info header or the 12-byte OS/2 core header,
// widened here to the 40-byte form.  Every number is checked before it
// can reach an allocation.
#include <string.h>

#include "codecs/bmp/bmp_internal.h"
#include "codecs/common/checked.h"
#include "codecs/common/dib_build.h"
#include "zynlib.h"

namespace {

const WORD kSignature = 0x4D42;  // "BM"
const DWORD kCoreSize = 12;
const DWORD kInfoSize = 40;
const size_t kFileHeader = 14;

bool depth_known(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// RLE8 carries the bytes of any paletted row (the writer compresses 1-bit
// images that way); RLE4 only 4-bit pixels.
bool compression_fits(DWORD compression, WORD bits) {
    if (compression == BI_RGB) return true;
    if (compression == BI_RLE8) return bits <= 8;
    return bits == 4;
}

void widen_core(const BYTE raw[40], BITMAPINFOHEADER *info) {
    BITMAPCOREHEADER core;
    memcpy(&core, raw, sizeof core);
    memset(info, 0, sizeof *info);
    info->biSize = kInfoSize;
    info->biWidth = core.bcWidth;
    info->biHeight = core.bcHeight;
    info->biPlanes = core.bcPlanes;
    info->biBitCount = core.bcBitCount;
    info->biClrUsed = ZYN_DIB_NumColors(&core);
    info->biClrImportant = info->biClrUsed;
}

}  // namespace

extern "C" int bmp_check_header(const BITMAPINFOHEADER *info) {
    if (info->biHeight < 0) return BMP_HEADER_ILLEGAL;  // top-down rows
    if (info->biCompression > BI_RLE4) return BMP_HEADER_UNSUPPORTED;
    if (info->biWidth <= 0 || info->biHeight == 0 || !depth_known(info->biBitCount) ||
        !compression_fits(info->biCompression, info->biBitCount))
        return BMP_HEADER_ILLEGAL;
    if (info->biWidth > LC_MAX_DIMENSION || info->biHeight > LC_MAX_DIMENSION) return BMP_HEADER_TOO_LARGE;
    // A table longer than 256 entries belongs to no depth we read.
    if (info->biClrUsed > 256) return BMP_HEADER_ILLEGAL;
    return BMP_HEADER_OK;
}

extern "C" int bmp_read_info_header(ByteSource *s, BmpHeader *h) {
    memset(h, 0, sizeof *h);
    h->start = s->pos;
    BYTE file[kFileHeader];
    int whole = bs_read(s, file, sizeof file);
    if (whole && (WORD)(file[0] | file[1] << 8) == kSignature) {
        h->dataOffset = (size_t)file[10] | (size_t)file[11] << 8 | (size_t)file[12] << 16 | (size_t)file[13] << 24;
    } else {
        s->overrun = 0;  // a short headerless file is judged by its info header
        bs_seek(s, h->start);
    }

    size_t infoAt = s->pos;
    BYTE raw[kInfoSize];
    int complete = bs_read(s, raw, sizeof raw);
    DWORD size;
    memcpy(&size, raw, sizeof size);
    if (size == kCoreSize) {
        widen_core(raw, &h->info);
        s->overrun = 0;
        bs_seek(s, infoAt + kCoreSize);  // the color table follows the short header
    } else if (size == kInfoSize && complete) {
        memcpy(&h->info, raw, sizeof h->info);
    } else {
        return BMP_HEADER_NOT_DIB;
    }
    h->foundSize = size;

    int status = bmp_check_header(&h->info);
    if (status != BMP_HEADER_OK) return status;
    BITMAPINFOHEADER *info = &h->info;
    uint64_t stride = ((uint64_t)info->biWidth * info->biBitCount + 31) / 32 * 4;
    if (!lc_mul_u64(stride, (uint64_t)info->biHeight, &h->rawBytes) || h->rawBytes > 0xFFFFFFFFu)
        return BMP_HEADER_TOO_LARGE;
    // The size of uncompressed rows is always worked out: files get it wrong.
    if (info->biSizeImage == 0 || info->biCompression == BI_RGB) info->biSizeImage = (DWORD)h->rawBytes;
    if (info->biClrUsed == 0) info->biClrUsed = ZYN_DIB_NumColors(info);
    return BMP_HEADER_OK;
}
