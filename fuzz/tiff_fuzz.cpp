// Decodes the input as a TIFF file held in memory: whatever it holds, the
// reader must fail with a message or return a DIB it could fill, without
// reading or writing outside its buffers and without the library's own
// texts reaching the console.
#include <stdint.h>

#include "codecs/tiff/tiff.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("TIF");
    HGLOBAL dib = NULL;
    if (TiffDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
