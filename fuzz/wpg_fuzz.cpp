// Decodes the input as a WPG file held in memory: whatever it holds, the
// reader must fail with a message or return a DIB it could fill, without
// reading or writing outside its buffers.  Row repeats let a few bytes
// claim gigabytes, so images are capped at 256 MB here.
#include <stdint.h>

#include "codecs/wpg/wpg.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("WPG");
    HGLOBAL dib = NULL;
    if (WpgDecodeCapped(data, size, (uint64_t)256 << 20, &dib) && dib) GlobalFree(dib);
    return 0;
}
