/* PICT reader entry: finds the version opcode, then walks the opcodes
   until the first bitmap has been decoded. */
#include <string.h>

#include "codecs/common/codec_report.h"
#include "codecs/common/file_view.h"
#include "codecs/pict/pict.h"
#include "codecs/pict/pict_internal.h"
#include "core/messages.h"
#include "lumacast_strings.h"

enum { APP_HEADER = 512, SIZE_AND_FRAME = 10, VERSION_OP = 0x11 };

/* Looks for the version opcode after the size and frame of a picture that
   starts at `start`: zero bytes first, then 0x11.  1 and the cursor on the
   version byte when found. */
static int find_version_op(PictParse *p, size_t start) {
    p->s.overrun = 0;
    if (!bs_seek(&p->s, start) || !bs_skip(&p->s, SIZE_AND_FRAME)) return p->s.overrun = 0, 0;
    while (p->s.pos < p->s.size && p->s.data[p->s.pos] == 0) p->s.pos++;
    if (p->s.pos >= p->s.size || p->s.data[p->s.pos] != VERSION_OP) return 0;
    p->s.pos++;
    p->start = start;
    return 1;
}

static int read_version(PictParse *p) {
    /* Files that lost their 512-byte application header start at once. */
    if (!find_version_op(p, APP_HEADER) && !find_version_op(p, 0))
        return pict_fail(IDS_PICT_NO_VERSION);
    BYTE version = bs_u8(&p->s);
    if (!pict_data_ok(p)) return 0;
    if (version == 1) {
        p->version = 1;
        return 1;
    }
    if (version != 2) return pict_fail(IDS_PICT_BAD_VERSION);
    BYTE ff = bs_u8(&p->s);
    if (!pict_data_ok(p)) return 0;
    if (ff != 0xFF) return pict_fail(IDS_PICT_BAD_PICT2);
    p->version = 2;
    return 1;
}

/* Version 2 opcodes start on even offsets from the picture's start. */
static unsigned next_opcode(PictParse *p) {
    if (p->version == 1) return bs_u8(&p->s);
    if ((p->s.pos - p->start) & 1) bs_skip(&p->s, 1);
    return bs_u16be(&p->s);
}

extern "C" int PictDecode(const BYTE *data, size_t size, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    PictParse p;
    memset(&p, 0, sizeof p);
    bs_init(&p.s, data, size);
    int ok = read_version(&p), done = 0;
    while (ok && !done) {
        unsigned opcode = next_opcode(&p);
        ok = pict_data_ok(&p) && pict_opcode(&p, opcode, &done);
    }
    return dib_finish(&p.dib, ok, out);
}

extern "C" int WINAPI PictLoad(LPSTR path, HGLOBAL *out) {
    if (!out) return 0;
    *out = NULL;
    FileView file;
    int tooLarge;
    if (!file_view_open(path, &file, &tooLarge)) {
        codec_error(tooLarge ? IDS_PICT_NO_MEMORY : IDS_PICT_OPEN_INPUT);
        return 0;
    }
    int ok = PictDecode(file.data, file.size, out);
    file_view_close(&file);
    return ok;
}
