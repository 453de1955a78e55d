// The clipboard-file reader on any bytes: entry tables, DIB entries and
// device bitmaps whose sizes lie.
#include <stdint.h>

#include "codecs/bmp/bmp.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(fuzz_answer_quietly);
    HGLOBAL dib = NULL;
    int ok = clp_decode_memory(data, size, (size_t)1 << 20, &dib);
    fuzz_check_result(ok, dib);
    return 0;
}
