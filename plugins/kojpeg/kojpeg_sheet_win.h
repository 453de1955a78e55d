/* Windows side of the sheet, for the tests that drive it. */
#ifndef KOJPEG_SHEET_WIN_H
#define KOJPEG_SHEET_WIN_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Called with the sheet window once it is set up (before it runs). */
typedef void (*KojpegSheetObserver)(HWND sheet);
void kojpeg_set_sheet_observer(KojpegSheetObserver observer);

#ifdef __cplusplus
}
#endif

#endif
