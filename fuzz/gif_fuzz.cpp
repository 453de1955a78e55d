// Feeds any bytes to the GIF reader's memory entry: it must fail cleanly or
// return a DIB whose rows lie inside its block.  Images are capped at 4
// megapixels so the harness's memory limit is not what stops it.
#include <stdint.h>

#include "codecs/common/dib_build.h"
#include "codecs/gif/gif.h"
#include "zynlib.h"

static int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(quiet);
    HGLOBAL dib = NULL;
    if (gif_decode_memory(data, size, (uint64_t)1 << 22, &dib)) {
        DibParts d;
        if (!dib_open(dib, &d)) __builtin_trap();
        dib_close(&d);
        GlobalFree(dib);
    } else if (dib) {
        __builtin_trap(); /* a failed load leaves no image behind */
    }
    return 0;
}
