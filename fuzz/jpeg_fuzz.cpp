// Identifies and decodes the input as a JPEG or PIC file held in memory,
// at the depth the first byte picks: whatever it holds, the plug-in and its
// codec must fail with a message or return a DIB they filled, without
// reading or writing outside their buffers.
#include <stdint.h>

#include "fuzz_support.h"
#include "kojpeg_hooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int ready;
    if (!ready) {
        ready = 1;
        fuzz_load_as("JPG");
        tavn_set_pixel_limit(1u << 22); /* keeps each input quick */
        kojpeg_set_load_password("fuzz");  /* locked seeds use this one */
    }
    static const int displays[4] = {4, 8, 16, 24};
    kojpeg_set_display_bits(size ? displays[data[0] & 3] : 24);
    HGLOBAL dib = NULL;
    int bits = 0;
    if (kojpeg_decode(data, size, size && (data[0] & 4), &dib, &bits) && dib) GlobalFree(dib);
    return 0;
}
