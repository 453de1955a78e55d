/* The image plug-in apart from its windows: the entry points' rules, the
   command table, the settings and the common frame of an operation.  All
   it asks of the host library, the window system, the settings store and
   the dialogs goes through one table, ImgPlatform: filled from
   IMAGEHOST.DLL and USER in the DLL, by a recording fake in the tests. */
#ifndef IMAGE_PLUGIN_H
#define IMAGE_PLUGIN_H

#include "image_ops.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void *ImgMenu;
typedef void *ImgKey;

#define IMG_COMMANDS 10
#define IMG_VERSION_WORD 0x0101
#define IMG_HANDLED 2
/* Windows where image operations are barred (media windows). */
#define IMG_BARRED_FLAGS_COUNT 3
extern const DWORD img_barred_flags[IMG_BARRED_FLAGS_COUNT];
/* The info word the operations set to the new depth. */
#define IMG_INFO_DEPTH 24

/* ---- the plug-in's remembered choices ------------------------------------ */

#define IMG_MEASURE_SCREEN 0
#define IMG_MEASURE_PRINTER 1
#define IMG_MEASURE_CUSTOM 2
#define IMG_PRINTER_DPI 300
/* Custom resolutions are kept to 1..IMG_MAX_DPI. */
#define IMG_MAX_DPI 32767

typedef struct ImgSettings {
    int keepAspect;
    WORD scaleMeasure, scaleUnits, scaleQuality;
    int customResX, customResY;
    WORD frameStyle, chooseColor, alignment;
    WORD maskSelected;
    int maskInvert, alphaMask, alphaColor;
    int tileMirror;
} ImgSettings;

typedef struct ImgRotateState {
    int angle;   /* -359..359 once stored by OK; 180 at first */
    int quality; /* IMG_QUALITY_LOW or _HIGH */
    ImgColor background;
} ImgRotateState;

/* Alignment bits of a caption. */
#define IMG_ALIGN_TOP 0x1
#define IMG_ALIGN_VCENTER 0x2
#define IMG_ALIGN_BOTTOM 0x4
#define IMG_ALIGN_LEFT 0x8
#define IMG_ALIGN_HCENTER 0x10
#define IMG_ALIGN_RIGHT 0x20
#define IMG_ALIGN_DEFAULT (IMG_ALIGN_TOP | IMG_ALIGN_LEFT)
/* One vertical and one horizontal bit, or 0. */
int img_alignment_valid(DWORD alignment);

#define IMG_CAPTION_MAX 255
/* A margin is kept to this, so that the two of an axis fit 16 bits. */
#define IMG_FRAME_MAX_MARGIN 32767

#ifdef _WIN32
typedef LOGFONTA ImgLogFont;
#else
/* The fields of a logical font the plug-in sets (the DLL's is LOGFONTA). */
typedef struct ImgLogFont {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet;
    BYTE lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
    char lfFaceName[32];
} ImgLogFont;
#endif

typedef struct ImgFrameColor {
    WORD index;
    BYTE blue, green, red;
} ImgFrameColor;

/* The frame record IMG_FrameDIB takes.  The extra sizes are kept equal to
   the sums of their margins; IMG_FrameDIB itself goes by the margins. */
typedef struct ImgFrameRecord {
    WORD extraWidth, extraHeight;
    WORD top, left, bottom, right;
    const char *caption; /* null or "": none */
    WORD alignment;
    WORD chosenColor; /* 0 fill, 1 outline, 2 text */
    WORD style;       /* IMG_FRAME_FILLED or IMG_FRAME_OUTLINE */
    ImgFrameColor fill, outline, text;
    ImgLogFont font;
} ImgFrameRecord;

typedef struct ImgCaptionFlags {
    int invert, alpha, color;
} ImgCaptionFlags;

/* ---- the platform ------------------------------------------------------------- */

/* Types of the settings store's readers and writers. */
enum { IMG_VALUE_BOOL, IMG_VALUE_WORD, IMG_VALUE_INT, IMG_VALUE_DWORD };

/* The window classes, in the order they are registered. */
enum { IMG_CLASS_CROP, IMG_CLASS_COLOR, IMG_CLASS_SWATCH, IMG_CLASSES };

/* The dialogs and what each fills on OK. */
enum {
    IMG_DIALOG_CROP,   /* ImgCropParams */
    IMG_DIALOG_SCALE,  /* ImgScaleParams: width, height, quality */
    IMG_DIALOG_ROTATE, /* the plug-in's ImgRotateState */
    IMG_DIALOG_FRAME,  /* the plug-in's frame record and caption flags */
    IMG_DIALOG_TILE,   /* ImgTileParams */
    IMG_DIALOG_MASK    /* ImgMaskParams; 1 with a shape, 2 without one */
};
#define IMG_DIALOG_NO_SHAPE 2

struct ImgPlugin;

typedef struct ImgPlatform {
    void *context;
    /* the host library's services */
    HGLOBAL (*get_hdib)(void *c, HWND w);
    HGLOBAL (*copy_hdib)(void *c, HWND w);
    void (*replace_hdib)(void *c, HWND w, HGLOBAL dib);
    int (*get_flag)(void *c, HWND w, DWORD bit);
    void (*set_info)(void *c, HWND w, DWORD offset, DWORD value);
    void *(*get_palette)(void *c, HWND w);
    HWND (*owner_window)(void *c, HWND w);
    ImgMenu (*reserve_menu)(void *c, int count);
    UINT (*reserve_menu_id)(void *c);
    void (*show_help_text)(void *c, const char *text);
    void (*settings_key)(void *c, char *product, char *version); /* 64 bytes each */
    void (*progress_start)(void *c, HWND owner, const char *caption);
    void (*progress_range)(void *c, int low, int high);
    void (*progress_step)(void *c, int position);
    void (*progress_end)(void *c);
    /* the window system */
    int (*append_item)(void *c, ImgMenu menu, UINT id, const char *text); /* text null: separator */
    void (*enable_item)(void *c, ImgMenu menu, UINT id, int enabled);
    int (*is_image_window)(void *c, HWND w);
    void *(*load_wait_cursor)(void *c);
    void *(*set_cursor)(void *c, void *cursor); /* the one it replaced */
    int (*register_class)(void *c, int which);
    void (*unregister_class)(void *c, int which);
    /* the settings store */
    ImgKey (*open_settings)(void *c, const char *product, const char *version, const char *section);
    int (*get_value)(void *c, ImgKey key, const char *name, int type, DWORD *value);
    void (*set_value)(void *c, ImgKey key, const char *name, int type, DWORD value);
    int (*close_settings)(void *c, ImgKey key);
    /* the dialogs: 1 on OK (see the IMG_DIALOG_ list), 0 on Cancel */
    int (*dialog)(void *c, int which, struct ImgPlugin *p, HWND owner, HWND w, HGLOBAL dib, void *out);
    /* the chosen mask shape as an 8- or 1-bit coverage of the size (0 inside),
       and its release once applied or given up; IMG_ status */
    int (*shape_coverage)(void *c, LONG width, LONG height, HGLOBAL *coverage);
    void (*shape_release)(void *c);
    /* the caption drawn black on white at its place: IMG_OK, IMG_NO_MEMORY,
       or IMG_BAD_PARAMS when it cannot be drawn */
    int (*caption_coverage)(void *c, const ImgFrameRecord *r, LONG width, LONG height, HGLOBAL *coverage);
} ImgPlatform;

/* ---- the plug-in ------------------------------------------------------------- */

typedef struct ImgCommand {
    UINT id; /* handed out at init; 0 for the separator */
    UINT helpId, menuId;
    void (*run)(struct ImgPlugin *p, HWND w);
} ImgCommand;

typedef struct ImgPlugin {
    const ImgPlatform *platform;
    ULONG_PTR hostValue; /* kept, not used */
    HWND frame;
    ImgMenu menu;
    HWND active;
    void *waitCursor, *savedCursor;
    ImgCommand commands[IMG_COMMANDS];
    int busy; /* an operation runs (the interface is pumped meanwhile) */
    ImgSettings settings;
    ImgRotateState rotate;
    ImgFrameRecord frameRecord;
    char caption[IMG_CAPTION_MAX + 1];
    ImgCaptionFlags captionFlags;
    ImgColor maskColor;
} ImgPlugin;

/* The state before init: defaults everywhere, no menu, no ids. */
void img_plugin_reset(ImgPlugin *p, const ImgPlatform *platform);

int img_plugin_version(ImgPlugin *p, DWORD version);
int img_plugin_init(ImgPlugin *p, ULONG_PTR hostValue, HWND frame);
int img_plugin_activate(ImgPlugin *p, HWND window, DWORD activating);
int img_plugin_menu_init(ImgPlugin *p, ImgMenu menu);
int img_plugin_menu_handler(ImgPlugin *p, DWORD commandId, LRESULT *result);
int img_plugin_help_handler(ImgPlugin *p, DWORD commandId, DWORD flags, LRESULT *result);
int img_plugin_exit(ImgPlugin *p);

/* Settings: defaults, then section "Image" group by group (scale, frame,
   mask, tile); values out of range keep the default.  Exit writes them
   in the same order and returns what closing the last group returned. */
void img_settings_default(ImgSettings *s);
void img_settings_read(ImgPlugin *p);
int img_settings_write(ImgPlugin *p);

/* The frame record's defaults: font height 16, weight 500, the face of
   string 1351 and the character set named by string 1352. */
void img_frame_record_default(ImgFrameRecord *r);
/* "ANSI" 0, "SYMBOL" 2, "SHIFTJIS" 128, "OEM" 255; -1 for another name. */
int img_charset_of_name(const char *name);

/* A plug-in text in a box with no owner and no caption (task-modal). */
void img_say(UINT id);
/* A text of the plug-in's table; "Internal error (id = N)" when missing. */
void img_text(UINT id, char *out, size_t size);

/* The operations of the command table. */
void img_run_invert(ImgPlugin *p, HWND w);
void img_run_flip(ImgPlugin *p, HWND w);
void img_run_mirror(ImgPlugin *p, HWND w);
void img_run_crop(ImgPlugin *p, HWND w);
void img_run_scale(ImgPlugin *p, HWND w);
void img_run_rotate(ImgPlugin *p, HWND w);
void img_run_frame(ImgPlugin *p, HWND w);
void img_run_tile(ImgPlugin *p, HWND w);
void img_run_mask(ImgPlugin *p, HWND w);

/* The framed image with its caption, or null after the message.  invertOff
   is the dialog's "Invert": the text pixels keep the image and the rest
   takes the text color. */
HGLOBAL img_frame_dib(const ImgPlatform *platform, HGLOBAL dib, const ImgFrameRecord *r, int invertOff, int alpha,
                      int color);

/* The frame parameters of a record (colors resolved for the image). */
void img_frame_params_of(const ImgFrameRecord *r, ImgFrameParams *out);

#ifdef __cplusplus
}
#endif

#endif
