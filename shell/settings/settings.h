/* The program's 25 settings: 32-bit values addressed by byte offset, each
   with a changed flag, loaded from and stored to a settings store. */
#ifndef LC_SETTINGS_H
#define LC_SETTINGS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Byte offsets. */
#define SET_TIF_1_BIT_COMPRESSION 0
#define SET_TIF_4_BIT_COMPRESSION 4
#define SET_TIF_8_BIT_COMPRESSION 8
#define SET_TIF_16_BIT_COMPRESSION 12
#define SET_TIF_24_BIT_COMPRESSION 16
#define SET_SAVE_DITHER 20
#define SET_SAVE_COLORCUT 24
#define SET_SAVE_WARN_COLORLOSS 28
#define SET_PAL_FASTMATCH 32
#define SET_SCREEN_BITMAPS 36
#define SET_METAFILE_SIZE 40
#define SET_FAST_DITHER 44
#define SET_CAPTURE_KEY 48
#define SET_KEEP_UNDO 52
#define SET_STATUS_WND 56
#define SET_CAPTURE_MODE 60
#define SET_LOAD_PROC 64
#define SET_SAVE_PROC 68
#define SET_STARTUP 72
#define SET_COLOR_MATCH 76
#define SET_DITHER_TYPE 80
#define SET_METAFILE_PAL 84
#define SET_CAPTURE_KEY_ALT 88
#define SET_CAPTURE_KEY_CTRL 92
#define SET_ALPHA_DISPLAY 96

#define SETTINGS_COUNT 25

/* Settings store, filled by the registry store of the shell.  Values are
   written as decimal text and read back as integers. */
typedef struct SettingsStore {
    void *context;
    int (*open)(void *context, const char *product, const char *version, const char *section);
    /* 1 and *value when the value exists */
    int (*read_int)(void *context, const char *name, LONG *value);
    int (*write_text)(void *context, const char *name, const char *text);
    void (*close)(void *context);
} SettingsStore;

/* Null: no store, every value keeps its default and nothing is written. */
void settings_set_store(const SettingsStore *store);

/* Offsets outside the table read as 0 and are ignored when written. */
LONG settings_read(UINT offset);
void settings_write(UINT offset, LONG value);
void settings_mark_changed(UINT offset, int flag);
int settings_changed(UINT offset);

/* Every value back to its default, no value changed. */
void settings_reset_defaults(void);
/* Start-up: every value from the store (defaults where missing), then the
   TIFF compression fix-up.  The shell itself keeps the program's name,
   passes color_match and alpha_display to the display routine and shows
   the status bars afterwards. */
void settings_load_all(void);
/* Writes every changed value and clears its flag. */
void settings_store_changed(void);

/* Offset of a value by its name ("dither_type"), or -1. */
int settings_offset_of(const char *name);
/* Name of the value at an offset into buf; 0 for a bad offset. */
int settings_name(UINT offset, char *buf, size_t size);
LONG settings_default(UINT offset);

/* The store's product name ("Lumacast") and version text ("3.50"), the
   first two keys of every section of the program. */
const char *settings_product(void);
void settings_version(char *buf, size_t size);
/* One value of another section of the program ("Batch", "Capture");
   1 when it was read or written. */
int settings_section_read(const char *section, const char *name, LONG *value);
int settings_section_write(const char *section, const char *name, LONG value);

#ifdef __cplusplus
}
#endif

#endif
