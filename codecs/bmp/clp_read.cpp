// The clipboard-file reader: the DIB stored in the file, or failing that
// its device-dependent bitmap when that was made on a screen like ours.
#include <string.h>

#include "codecs/bmp/bmp.h"
#include "codecs/bmp/bmp_internal.h"
#include "codecs/common/byte_source.h"
#include "codecs/common/codec_report.h"
#include "core/load_panel.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

namespace {

const WORD kClipboardFileId = 0xC350;
const size_t kEntryBytes = 89;
const WORD kFormatBitmap = 2, kFormatDib = 8, kFormatPalette = 9;
const size_t kBitmapDescription = 24;

struct ClpEntry {
    int present;
    DWORD length;
    DWORD offset;
};

struct ClpDirectory {
    ClpEntry bitmap, dib, palette;
};

int fail(UINT id) {
    codec_error(id);
    return 0;
}

// Reads the N entries; the first entry of each format we use counts.
int read_directory(ByteSource *s, ClpDirectory *dir) {
    memset(dir, 0, sizeof *dir);
    if (bs_u16le(s) != kClipboardFileId || s->overrun) return load_format_error(IDS_FMT_BAD_HEADER);
    WORD count = bs_u16le(s);
    if (s->overrun) return load_format_error(IDS_FMT_INCOMPLETE);
    for (WORD i = 0; i < count; i++) {
        const BYTE *e = bs_take(s, kEntryBytes);
        if (!e) return load_format_error(IDS_FMT_INCOMPLETE);
        WORD format = (WORD)(e[0] | e[1] << 8);
        ClpEntry entry = {1, (DWORD)e[2] | (DWORD)e[3] << 8 | (DWORD)e[4] << 16 | (DWORD)e[5] << 24,
                          (DWORD)e[6] | (DWORD)e[7] << 8 | (DWORD)e[8] << 16 | (DWORD)e[9] << 24};
        ClpEntry *slot = format == kFormatBitmap ? &dir->bitmap
                         : format == kFormatDib  ? &dir->dib
                         : format == kFormatPalette ? &dir->palette
                                                    : NULL;
        if (slot && !slot->present) *slot = entry;
    }
    return 1;
}

// The entry's bytes, or null when the file does not hold them all.
const BYTE *entry_data(const ByteSource *s, const ClpEntry &e) {
    if (e.offset > s->size || e.length > s->size - e.offset) return NULL;
    return s->data + e.offset;
}

// A packed DIB whose header and rows can be trusted: an uncompressed one
// must hold all its rows (packed rows are padded by the alignment fix), a
// compressed one its stream.
int dib_entry_sound(const BYTE *p, DWORD length) {
    if (length < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER info;
    memcpy(&info, p, sizeof info);
    if (bmp_check_header(&info) != BMP_HEADER_OK) return 0;
    uint64_t table = (uint64_t)ZYN_DIB_NumColors(&info) * sizeof(RGBQUAD);
    uint64_t room = length - sizeof info;
    if (table > room) return 0;
    room -= table;
    uint64_t stride = ((uint64_t)info.biWidth * info.biBitCount + 31) / 32 * 4;
    uint64_t rows = stride * (uint64_t)info.biHeight;
    if (info.biCompression == BI_RGB) {
        if (rows > 0xFFFFFFFFu) return 0;
        uint64_t claimed = info.biSizeImage ? info.biSizeImage : rows;
        return claimed <= room;
    }
    return info.biSizeImage != 0 && info.biSizeImage <= room && rows <= 0xFFFFFFFFu;
}

HGLOBAL copy_block(const BYTE *p, size_t n) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    BYTE *q = h ? (BYTE *)GlobalLock(h) : NULL;
    if (!q) {
        if (h) GlobalFree(h);
        return NULL;
    }
    memcpy(q, p, n);
    GlobalUnlock(h);
    return h;
}

uint64_t expanded_bytes(HGLOBAL dib) {
    BITMAPINFOHEADER info;
    if (!ZYN_DIB_Info(dib, &info)) return 0;
    return ((uint64_t)info.biWidth * info.biBitCount + 31) / 32 * 4 * (uint64_t)info.biHeight;
}

// The device-dependent bitmap: its description, then its bits.
HGLOBAL load_bitmap(const ByteSource *s, const ClpEntry &e) {
    const BYTE *p = entry_data(s, e);
    if (!p || e.length < kBitmapDescription) {
        load_format_error(IDS_FMT_INCOMPLETE);
        return NULL;
    }
    ByteSource d;
    bs_init(&d, p, kBitmapDescription);
    bs_u32le(&d);  // type
    LONG width = (LONG)bs_u32le(&d), height = (LONG)bs_u32le(&d);
    DWORD widthBytes = bs_u32le(&d);
    WORD planes = bs_u16le(&d), bits = bs_u16le(&d);
    int screenPlanes, screenBits;
    screen_depth(&screenPlanes, &screenBits);
    if (planes != screenPlanes || bits != screenBits) {
        fail(IDS_CLP_DEVICE_BITMAP);
        return NULL;
    }
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        fail(IDS_CLP_BAD_DIB_HEADER);
        return NULL;
    }
    // Every row the description promises must be in the file, and be as
    // long as its pixels (word-aligned, as device bitmaps are).
    uint64_t rowBytes = ((uint64_t)width * bits + 15) / 16 * 2;
    uint64_t need = (uint64_t)widthBytes * (uint64_t)height;
    if (widthBytes < rowBytes || need > e.length - kBitmapDescription) {
        load_format_error(IDS_FMT_INCOMPLETE);
        return NULL;
    }
    HGLOBAL dib = clp_bitmap_to_dib(width, height, widthBytes, planes, bits, p + kBitmapDescription);
    if (!dib) fail(IDS_CODEC_NO_MEMORY_FILE);
    return dib;
}

// The DIB entry when it holds a 40-byte header; null with *reported clear when
// it was not usable (the caller falls back to the bitmap).
HGLOBAL load_dib(const ByteSource *s, const ClpEntry &e, int *reported) {
    *reported = 0;
    const BYTE *p = entry_data(s, e);
    if (!p) {
        *reported = 1;
        load_format_error(IDS_FMT_INCOMPLETE);
        return NULL;
    }
    DWORD headerSize = 0;
    if (e.length >= 4) memcpy(&headerSize, p, 4);
    if (headerSize != sizeof(BITMAPINFOHEADER) || !dib_entry_sound(p, e.length)) return NULL;
    HGLOBAL dib = copy_block(p, e.length);
    if (!dib) {
        *reported = 1;
        fail(IDS_CODEC_NO_MEMORY_FILE);
    }
    return dib;
}

}  // namespace

extern "C" int clp_decode_memory(const BYTE *data, size_t size, size_t maxImageBytes, HGLOBAL *out) {
    *out = NULL;
    bmp_begin_info(IDS_CREATOR_CLPBRD);
    ByteSource s;
    bs_init(&s, data, size);
    ClpDirectory dir;
    if (!read_directory(&s, &dir)) return 0;

    HGLOBAL dib = NULL;
    if (dir.dib.present) {
        int reported;
        dib = load_dib(&s, dir.dib, &reported);
        if (reported) return 0;
        if (!dib && !dir.bitmap.present) return fail(IDS_CLP_BAD_DIB_HEADER);
    } else if (!dir.bitmap.present) {
        return fail(IDS_CLP_NO_IMAGE);
    }
    if (!dib) {
        dib = load_bitmap(&s, dir.bitmap);
        if (!dib) return 0;
    }
    if (expanded_bytes(dib) > maxImageBytes) {
        GlobalFree(dib);
        return fail(IDS_CODEC_NO_MEMORY_FILE);
    }
    BITMAPINFOHEADER info;
    ZYN_DIB_Info(dib, &info);
    bmp_header_info(&info);
    load_panel_step(1);
    dib = bmp_expand(dib);
    if (dib) dib = bmp_fix(dib);
    if (!dib) return 0;
    ZYN_DIB_FixPalette(dib);
    load_panel_step(5);
    *out = dib;
    return 1;
}

extern "C" int WINAPI ClpLoad(LPSTR path, HGLOBAL *out) {
    if (out) *out = NULL;
    if (!path || !out) return 0;
    CodecFile file;
    int tooLarge;
    if (!codec_file_read(path, &file, &tooLarge)) return tooLarge ? fail(IDS_CODEC_NO_MEMORY_FILE) : 0;
    int ok = clp_decode_memory(file.data, file.size, BMP_NO_IMAGE_LIMIT, out);
    codec_file_free(&file);
    return ok;
}
