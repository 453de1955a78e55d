// Decodes the input as a Windows icon held in memory, choosing each image
// in turn (with and without the mask as alpha), without reading or writing
// outside its buffers.
#include <stdint.h>

#include "codecs/ico/ico.h"
#include "fuzz_support.h"

static int pick;

static int choose_by_input(const IcoListEntry *, int count, int *useMask) {
    *useMask = pick & 1;
    return count ? (pick >> 1) % count : -1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_load_as("ICO");
    ico_set_chooser(choose_by_input);
    pick = size ? data[size - 1] : 0;
    HGLOBAL dib = NULL;
    if (IcoDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
