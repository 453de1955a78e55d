/* Shared inside kojpeg. */
#ifndef KOJPEG_INTERNAL_H
#define KOJPEG_INTERNAL_H

#include <stddef.h>

#include "kojpeg.h"
#include "kojpeg_strings.h"
#include "tavn13.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Save targets. */
#define KIND_PIC 0
#define KIND_SEQUENTIAL 1
#define KIND_PROGRESSIVE 2

/* The saved choices (registry values of the JPEG key). */
typedef struct JpegOptions {
    DWORD chrominance, luminance, subsample;
    DWORD wantPassword;
    char password[TAVN_PASSWORD_MAX + 1];
    DWORD optimumChoice, scriptLevel, wantProgressive;
    char comment[TAVN_COMMENT_MAX + 1];
    DWORD batchSession;
} JpegOptions;

/* The module: its instance (string table, resources) and the one codec
   request record of the process. */
HINSTANCE kojpeg_instance(void);
TavnRequest *kojpeg_request(void);
/* Clears the record for a new request, keeping the queue fields. */
void kojpeg_clear_request(void);

/* Messages: the load messages (no caption) and the codec's (error icon,
   caption "Orvanta JPEG File Format"). */
void kojpeg_message(UINT id);
void kojpeg_codec_message(UINT id);
int kojpeg_show_box(const char *text, const char *caption, UINT style);

/* The codec library: 1 when bound; 0 after its message (status -2005). */
int kojpeg_codec_identify(void);
/* One execute call; a result of TAVN_UNLOAD frees the library, and so does
   a failing status of a save (failedSave). */
int kojpeg_codec_execute(DWORD code);
void kojpeg_codec_unload(void);

/* The host (imagehost) services; each does nothing when the host or the
   service is absent. */
void host_bind(HMODULE host);
void host_progress_range(int low, int high);
void host_progress_step(int percent);
void host_register(BYTE *record);
void host_info_word(int key, int value);
void host_info_long(int key, long value);
void host_info_text(int key, const char *text);
void host_info_done(void);
int host_in_batch(void);
int host_batch_session(void);

/* Display bits per pixel for the output depth choice. */
int kojpeg_display_bits(void);

/* Settings. */
void options_defaults(JpegOptions *o);
void options_read(JpegOptions *o);
/* Writes what changed between read and chosen (the OK rules). */
void options_write_changes(const JpegOptions *read, const JpegOptions *chosen, int passwordChanged);
void options_write_session(DWORD session);
/* Level 0 script file name (the "SCRIPTFILE" value), "" when none. */
void options_script_file(char *name, size_t size);

/* Store back ends: a named string value of the JPEG key; the fallback
   when it is absent. */
void store_read(const char *name, const char *fallback, char *value, size_t size);
void store_write(const char *name, const char *value);

/* The sheet: shows the pages for the target, edits o; 1 on OK, 0 on
   Cancel. */
typedef int (*KojpegSheetMethod)(int kind, JpegOptions *o, int *passwordChanged);
int kojpeg_sheet_default(int kind, JpegOptions *o, int *passwordChanged);

/* Settles the options of a save: 1 with the request filled, 0 when the
   sheet was cancelled.  *kind may become progressive. */
int options_settle(int *kind, WORD level, WORD mode, JpegOptions *o);

/* Scan scripts: text of level 1..6 (resources 143..148), and the parser
   into the codec's scan list; 0 on a malformed script. */
const char *script_text(int level, size_t *length);
int script_parse(const char *text, size_t length, TavnScan *scans, DWORD *count);
/* The scan list of a script level into the request; 0 when none. */
int script_load(int level, TavnRequest *r);

/* The password for a locked PIC being loaded; 0 when none is given. */
int kojpeg_load_password(char *password);

/* The load of a whole file image in memory, shared by the file and memory
   loaders; mode 0 chooses the depth as the file load does. */
int kojpeg_decode(const BYTE *data, size_t size, int forceRgb24, HGLOBAL *out, int *bitCount);

#ifdef __cplusplus
}
#endif

#endif
