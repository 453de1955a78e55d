// The screen the device-dependent parts of the readers compare against.
#include "codecs/bmp/bmp_internal.h"

extern "C" void screen_depth(int *planes, int *bits) {
#ifdef _WIN32
    HDC screen = GetDC(NULL);
    *planes = GetDeviceCaps(screen, PLANES);
    *bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
#else
    // No display natively: the engine assumes a true-color screen.
    *planes = 1;
    *bits = 24;
#endif
}
