// Decodes the input as a RAS file held in memory: whatever it holds, the
// reader must fail with a message or return a DIB it could fill, without
// reading or writing outside its buffers.
#include <stdint.h>

#include "codecs/ras/ras.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("RAS");
    HGLOBAL dib = NULL;
    if (RasDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
