/* The load information record and the state of the load panel that shows
   it while a loader runs.  The drawing belongs to the shell's panel window,
   which installs its hooks; without hooks (natively, lumaconv) the record
   is kept and nothing is drawn. */
#ifndef LC_LOAD_PANEL_H
#define LC_LOAD_PANEL_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Field numbers, in the record's order (the host messages address field k
   at byte offset 4k). */
enum LoadInfoField {
    LI_FILE, LI_FORMAT, LI_WIDTH, LI_HEIGHT, LI_PALETTE, LI_PLANES, LI_COLORS,
    LI_GRAY, LI_MEMORY, LI_COMPRESSED, LI_BITS_PER_PIXEL, LI_TYPE, LI_VERSION,
    LI_CREATOR, LI_FIELD_COUNT
};

typedef struct LoadInfo {
    char *file; /* owned text */
    DWORD format;
    DWORD width;
    DWORD height;
    DWORD palette; /* non-zero when the image has a color table */
    DWORD planes;
    DWORD colors;
    DWORD gray;
    DWORD memory; /* bytes of pixel data */
    DWORD compressed;
    DWORD bitsPerPixel;
    DWORD type;
    DWORD version;
    char *creator; /* owned text */
} LoadInfo;

/* Drawing hooks of the panel window; any may be null. */
typedef struct LoadPanelHooks {
    void (*open)(const char *title);
    void (*close)(void);
    void (*info_ready)(const LoadInfo *info);
    void (*progress)(DWORD step, DWORD steps);
} LoadPanelHooks;

void load_panel_set_hooks(const LoadPanelHooks *hooks);

void load_panel_open(const char *title, const char *file);
/* Also clears the File and Creator texts. */
void load_panel_close(void);
int load_panel_is_open(void);

/* The panel switch (on by default): off keeps the record and shows nothing. */
void load_panel_set_shown(int on);
int load_panel_shown(void);

/* Setters; 0 for a field of the other type or out of range. */
int loadinfo_set_number(int field, DWORD value);
int loadinfo_set_text(int field, const char *text);
DWORD loadinfo_number(int field);
const char *loadinfo_text(int field);
const LoadInfo *loadinfo_get(void);
/* String id of a field's label ("Width:"), for the panel. */
UINT loadinfo_label_id(int field);

void load_panel_begin_progress(DWORD step, DWORD steps);
void load_panel_info_ready(void);
int load_panel_info_is_ready(void);
void load_panel_step(DWORD step);
DWORD load_panel_current_step(void);
DWORD load_panel_steps(void);

/* Fills a 40-byte header for a loader and the matching load information
   (width, height, palette, colors, memory), then marks the info ready.
   0 for a size no DIB can have (the loader reports it in its own words). */
int MakeDibHeader(BITMAPINFOHEADER *header, LONG width, LONG height, WORD bpp, DWORD colors);

#ifdef __cplusplus
}
#endif

#endif
