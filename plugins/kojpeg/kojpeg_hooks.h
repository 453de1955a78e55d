/* Settings of the plug-in that its callers inside this project change:
   the native tools (no display, no dialogs, no registry) and the tests. */
#ifndef KOJPEG_HOOKS_H
#define KOJPEG_HOOKS_H

#include "kojpeg_internal.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The host services as a table (natively there is no imagehost to look
   them up in); used when the host argument is neither null nor the
   plug-in's own module.  Null removes it. */
typedef struct KojpegHostApi {
    void (*progressRange)(int low, int high);
    void (*progressStep)(int percent);
    void (*registerFormat)(BYTE *record);
    void (*infoWord)(int key, int value);
    void (*infoLong)(int key, long value);
    void (*infoText)(int key, const char *text);
    void (*infoDone)(void);
    int (*inBatch)(void);
    int (*batchSession)(void);
} KojpegHostApi;
void kojpeg_set_host_api(const KojpegHostApi *api);

/* The sheet; null restores the default (the property sheet on Windows;
   natively the quality level of kojpeg_set_native_level).  Returns the
   previous method. */
KojpegSheetMethod kojpeg_set_sheet_method(KojpegSheetMethod method);
/* Native stand-in of the sheet: saves at this level (default 10). */
void kojpeg_set_native_level(int level);

/* Display bits for the depth choice (0: ask the system; natively 24). */
void kojpeg_set_display_bits(int bits);

/* Password offered to the codec when a locked PIC is loaded (natively;
   on Windows the Password dialog asks). */
void kojpeg_set_load_password(const char *password);

/* Pretends the codec library is missing (1) or lacks an ordinal (2); 0
   binds it normally. */
void kojpeg_set_codec_fault(int fault);

/* Native settings store: forget every value. */
void kojpeg_store_reset(void);


#ifdef __cplusplus
}
#endif

#endif
