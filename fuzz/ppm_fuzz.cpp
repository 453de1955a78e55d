// Decodes the input as a PPM file held in memory: whatever it holds, the
// reader must fail with a message or return a DIB it could fill, without
// reading or writing outside its buffers.
#include <stdint.h>

#include "codecs/ppm/ppm.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("PPM");
    HGLOBAL dib = NULL;
    if (PpmDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
