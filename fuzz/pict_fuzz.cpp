// Decodes the input as a Macintosh PICT file held in memory: every opcode
// walk must end in a message or a DIB, without reading or writing outside
// its buffers.
#include <stdint.h>

#include "codecs/pict/pict.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("PCT");
    HGLOBAL dib = NULL;
    if (PictDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
