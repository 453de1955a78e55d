/* The do-nothing handlers.  Each must stay a distinct function: the
   catalogue tells them apart by address, so they are kept from being folded
   into one by giving each its own body. */
#include "core/codec_api.h"

static volatile int sentinel_calls[7];

extern "C" int WINAPI LoadNone(LPSTR, HGLOBAL *out) {
    if (out) *out = NULL;
    sentinel_calls[0]++;
    return 0;
}
extern "C" int WINAPI LoadDisabled(LPSTR, HGLOBAL *out) {
    if (out) *out = NULL;
    sentinel_calls[1]++;
    return 0;
}
extern "C" int WINAPI LoadByPlugin(LPSTR, HGLOBAL *out) {
    if (out) *out = NULL;
    sentinel_calls[2]++;
    return 0;
}
extern "C" int WINAPI SaveNone(LPSTR, HGLOBAL, WORD, WORD, WORD) {
    sentinel_calls[3]++;
    return 0;
}
extern "C" int WINAPI SaveDisabled(LPSTR, HGLOBAL, WORD, WORD, WORD) {
    sentinel_calls[4]++;
    return 0;
}
extern "C" int WINAPI SaveByPlugin(LPSTR, HGLOBAL, WORD, WORD, WORD) {
    sentinel_calls[5]++;
    return 0;
}
extern "C" int WINAPI ValidateAlways(LPSTR) {
    sentinel_calls[6]++;
    return 1;
}
