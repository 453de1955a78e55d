// The BMP/DIB/RLE reader on any bytes: headers that lie, streams that run
// past their rows, offsets past the end.  Images are limited to 1 MB of
// pixels so that a tiny file cannot make the run exhaust memory.
#include <stdint.h>

#include "codecs/bmp/bmp.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZYN_ERR_SetErrorMethod(fuzz_answer_quietly);
    HGLOBAL dib = NULL;
    int ok = bmp_decode_memory(data, size, (size_t)1 << 20, &dib);
    fuzz_check_result(ok, dib);
    return 0;
}
