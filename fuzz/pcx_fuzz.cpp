// Feeds any bytes to the PCX reader's memory entry: it must fail cleanly or
// return a DIB whose rows lie inside its block.  The continue question is
// answered by the input's last bit so both answers are explored.
#include <stdint.h>

#include "codecs/common/dib_build.h"
#include "codecs/pcx/pcx.h"
#include "zynlib.h"

static int answerYes;

static int WINAPI answer(HWND, LPCSTR, LPCSTR, UINT style) {
    if ((style & 0xF) == MB_YESNO) return answerYes ? IDYES : IDNO;
    return IDOK;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(answer);
    answerYes = size && (data[size - 1] & 1);
    HGLOBAL dib = NULL;
    if (pcx_decode_memory(data, size, &dib)) {
        DibParts d;
        if (!dib_open(dib, &d)) __builtin_trap();
        dib_close(&d);
        GlobalFree(dib);
    } else if (dib) {
        __builtin_trap();
    }
    return 0;
}
