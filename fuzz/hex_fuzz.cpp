// Decodes the input as a HEX file held in memory: whatever it holds, the
// reader must fail with a message or return a DIB it could fill, without
// reading or writing outside its buffers.
#include <stdint.h>
#include <string.h>

#include "codecs/tagged/tagged.h"
#include "core/catalogue.h"
#include "zynlib.h"

/* Every box is answered Yes, so damaged data that may still be shown is
   decoded to the end. */
static int WINAPI answer_yes(HWND, LPCSTR, LPCSTR, UINT) { return IDYES; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int ready;
    if (!ready) {
        ZYN_ERR_SetErrorMethod(answer_yes);
        catalogue_register_builtins();
        for (int i = 0; i < catalogue_count(); i++) {
            char ext[16];
            if (catalogue_extension(i, ext, sizeof ext) && strcmp(ext, "HEX") == 0) catalogue_set_current_load(i);
        }
        ready = 1;
    }
    HGLOBAL dib = NULL;
    if (HexDecode(data, size, &dib) && dib) GlobalFree(dib);
    return 0;
}
