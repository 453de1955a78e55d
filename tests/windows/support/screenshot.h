// Screenshots of what a test drives: the part of the screen a window
// covers, saved as <name>.bmp in %LC_SCREENSHOT_DIR% (the test scripts
// turn them into PNG files under build/screenshots/).  Without that
// variable nothing is saved.
#ifndef LC_TEST_SCREENSHOT_H
#define LC_TEST_SCREENSHOT_H

#include <windows.h>

// Lets pending paints happen first.  FALSE when the file could not be written.
BOOL save_screenshot(HWND window, const char *name);

// Dispatches what is queued, then keeps dispatching for ms milliseconds.
void pump_for(DWORD ms);

#endif
