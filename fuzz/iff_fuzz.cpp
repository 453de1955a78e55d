// Decodes the input as an IFF ILBM file held in memory: whatever it holds,
// the reader must fail with a message or return a DIB it could fill,
// without reading or writing outside its buffers.
#include <stdint.h>

#include "codecs/iff/iff.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("IFF");
    HGLOBAL dib = NULL;
    if (IffDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
