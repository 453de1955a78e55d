// Gray conversion of the Colors menu: the library's conversion, reported
// with the program's own message.
#include "color/depth/depth.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "zynlib.h"

extern "C" HGLOBAL depth_to_gray(HGLOBAL dib) {
    HGLOBAL gray = ZYN_DIB_DIBToGray(dib);
    if (!gray) lc_message(MSG_ERROR, IDS_DEPTH_GRAY_NO_MEMORY);
    return gray;
}
