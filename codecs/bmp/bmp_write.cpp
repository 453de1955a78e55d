// The BMP, DIB and RLE writer: the 14-byte file header, then the DIB as it
// is held in memory (header, color table, rows), compressed first when
// asked for at a depth that can be.
#include <string.h>

#include "codecs/bmp/bmp.h"
#include "codecs/common/byte_sink.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

const size_t kFileHeader = 14;

// Bytes of the DIB as written: header, table and biSizeImage bytes of
// rows, all checked to lie inside the block.  0 for a DIB that is not whole.
size_t dib_extent(HGLOBAL dib, const BYTE **bytes, size_t *bitsOffset) {
    BITMAPINFOHEADER *h;
    BYTE *bits;
    if (!ZYN_DIB_LockPtrs(dib, &h, NULL, &bits)) return 0;  // checks biSizeImage against the block
    BITMAPINFOHEADER info;
    if (!ZYN_DIB_Info(dib, &info)) {
        GlobalUnlock(dib);
        return 0;
    }
    *bytes = (const BYTE *)h;
    *bitsOffset = (size_t)(bits - (BYTE *)h);
    return *bitsOffset + info.biSizeImage;
}

// The file image of one DIB; 1 when every byte reached the file.  The
// partial file is deleted on failure.
int write_dib_file(const char *path, HGLOBAL dib) {
    const BYTE *bytes;
    size_t bitsOffset;
    size_t total = dib_extent(dib, &bytes, &bitsOffset);
    if (!total) return 0;
    ByteSink *sink = new ByteSink;
    int ok = 0;
    if (sink_open(sink, path)) {
        sink_u16le(sink, 0x4D42);  // "BM"
        sink_u32le(sink, (DWORD)(total + kFileHeader));
        sink_u16le(sink, 0);
        sink_u16le(sink, 0);
        sink_u32le(sink, (DWORD)(bitsOffset + kFileHeader));
        sink_bytes(sink, bytes, total);
        ok = sink_close(sink);
        if (!ok) sink_abandon(sink, path);
    }
    GlobalUnlock(dib);
    delete sink;
    return ok;
}

}  // namespace

extern "C" int WINAPI BmpSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    (void)color;
    if (!path || !dib) return 0;
    BITMAPINFOHEADER info;
    if (!ZYN_DIB_Info(dib, &info)) {
        codec_error(IDS_CODEC_WRITE_FILE);
        return 0;
    }
    // Compression is for paletted images only.  The depth that picks RLE4
    // is the image's own: the bit count of the DIB being written.
    HGLOBAL packed = NULL;
    if (compressed && bpp < 16 && info.biBitCount < 16 && info.biCompression == BI_RGB) {
        packed = ZYN_DIB_Compress(dib, FALSE, info.biBitCount == 4 ? BI_RLE4 : BI_RLE8);
        if (!packed) return 0;  // the library has reported
    }
    int ok = write_dib_file(path, packed ? packed : dib);
    if (packed) GlobalFree(packed);
    if (!ok) codec_error(IDS_CODEC_WRITE_FILE);
    return ok;
}
