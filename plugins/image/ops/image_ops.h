/* The image plug-in's pixel work, free of windows: every operation takes
   the source DIB (never changed, never left locked) and its parameters,
   builds a new DIB in *out and returns a status instead of showing a
   message; img_message_id gives the text the caller shows. */
#ifndef IMAGE_OPS_H
#define IMAGE_OPS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- outcomes and messages ----------------------------------------- */

#define IMG_BAD_PARAMS (-2) /* parameters the operation refuses */
#define IMG_BAD_IMAGE (-1)  /* not an uncompressed bottom-up 1/4/8/24/32-bit DIB */
#define IMG_NO_MEMORY 0     /* the result or a work buffer cannot be had */
#define IMG_OK 1            /* *out holds the new DIB */
#define IMG_UNCHANGED 2     /* nothing to do: *out is null, the image stays */

typedef enum ImgOperation {
    IMG_OP_INVERT,
    IMG_OP_FLIP,
    IMG_OP_MIRROR,
    IMG_OP_CROP,
    IMG_OP_SCALE,     /* high quality */
    IMG_OP_SCALE_LOW, /* through ZYN_DIB_StretchDIB */
    IMG_OP_ROTATE,
    IMG_OP_FRAME,
    IMG_OP_TILE,
    IMG_OP_MASK,
    IMG_OP_MASK_SHAPE /* making the coverage of a shape */
} ImgOperation;

/* The string id of the operation's text for a failed status; 0 for none. */
UINT img_message_id(ImgOperation op, int status);
/* The operation's "no image in window" text; 0 for none (mask). */
UINT img_no_image_message_id(ImgOperation op);

/* The module whose string table holds the plug-in's texts. */
HINSTANCE img_instance(void);
#ifdef _WIN32
void img_set_instance(HINSTANCE module);
#endif

/* Largest side of any result (as ZYN_DIB_StretchDIB); larger results are
   refused as the operation's memory shortage.  Their pixels must also fit
   the 32-bit biSizeImage. */
#define IMG_MAX_SIDE (1L << 24)

/* ---- progress ------------------------------------------------------------ */

/* Long operations call start (a caption id and the row count), step for
   row 0, every row that is a multiple of 16 and the last row, then end;
   background, when given, once per row.  Every member may be null. */
typedef struct ImgProgress {
    void *context;
    void (*start)(void *context, UINT captionId, LONG rows);
    void (*step)(void *context, LONG row);
    void (*end)(void *context);
    void (*background)(void *context);
} ImgProgress;

/* ---- colors ------------------------------------------------------------------ */

/* A color choice: the table index for 1-, 4- and 8-bit images, the blue,
   green and red bytes for 24 and 32 bits. */
typedef struct ImgColor {
    DWORD index;
    BYTE blue, green, red;
} ImgColor;

/* For a palette image: an index not below the table's count becomes 0 and
   the color is read from that entry.  Other images keep the color. */
int img_color_from_table(HGLOBAL dib, ImgColor *color);
/* The color chooser of a 1-bit image: the index toggles and the color is
   that entry of the image's own table. */
int img_toggle_mono_color(HGLOBAL dib, ImgColor *color);
/* The nearest table entry of a palette image to the color's bytes (the
   color then takes that entry's bytes); other images keep the color. */
int img_color_nearest(HGLOBAL dib, ImgColor *color);

/* The window flag that marks a color image; a palette image whose window
   has it clear is gray.  getFlag answers RQ_GetFlag for the window. */
#define IMG_WINDOW_COLOR_FLAG 0x4
int img_window_gray(WORD bitCount, int (*getFlag)(void *context, UINT bit), void *context);

/* ---- invert, flip, mirror, crop -------------------------------------------- */

int img_invert(HGLOBAL src, const ImgProgress *progress, HGLOBAL *out);
int img_flip(HGLOBAL src, HGLOBAL *out);
int img_mirror(HGLOBAL src, HGLOBAL *out);
/* The same three on a DIB the caller owns and gives up (the host's copy
   from RQ_CopyHDib, lumaconv's loaded image), without a second block:
   IMG_OK, IMG_BAD_IMAGE or IMG_NO_MEMORY (the DIB then unchanged). */
int img_invert_in_place(HGLOBAL dib, const ImgProgress *progress);
int img_flip_in_place(HGLOBAL dib);
int img_mirror_in_place(HGLOBAL dib);

/* Margins in pixels; top and bottom as displayed. */
typedef struct ImgCropParams {
    LONG left, top, right, bottom;
} ImgCropParams;
int img_crop(HGLOBAL src, const ImgCropParams *params, HGLOBAL *out);
/* Crop and frame of a DIB the caller gives up: the rows move within the
   block, which then shrinks or grows; *dib is the DIB to use from now on,
   unchanged on failure.  Frames of 1- and 4-bit images take a new block. */
int img_crop_in_place(HGLOBAL *dib, const ImgCropParams *params);

/* ---- scale ----------------------------------------------------------------- */

#define IMG_QUALITY_LOW 0
#define IMG_QUALITY_HIGH 1

typedef struct ImgScaleParams {
    LONG width, height;
    int quality;
    int gray; /* the window calls a palette image gray (high quality only) */
} ImgScaleParams;
/* The same size gives IMG_UNCHANGED; low quality keeps the depth, high
   quality gives 8-bit gray, 24 bits or (from 32) 32 bits. */
int img_scale(HGLOBAL src, const ImgScaleParams *params, const ImgProgress *progress, HGLOBAL *out);

/* ---- rotate ------------------------------------------------------------------ */

typedef struct ImgRotateParams {
    int angle; /* degrees, -360 to 360; positive turns clockwise as displayed */
    int quality;
    ImgColor background;
} ImgRotateParams;
/* Multiples of 360 give IMG_UNCHANGED, multiples of 90 exact quarter
   turns, other angles a resampled larger canvas.  High quality gives 8-bit
   gray for a gray palette image, else 24 or (from 32) 32 bits, whose
   background alpha is 0. */
int img_rotate(HGLOBAL src, const ImgRotateParams *params, const ImgProgress *progress, HGLOBAL *out);
/* k clockwise quarter turns as displayed, k = 1, 2 or 3. */
int img_rotate_quarter(HGLOBAL src, int turns, HGLOBAL *out);

/* ---- frame ------------------------------------------------------------------ */

#define IMG_FRAME_FILLED 0
#define IMG_FRAME_OUTLINE 1

typedef struct ImgFrameParams {
    DWORD left, top, right, bottom; /* margins; top and bottom as displayed */
    int style;
    ImgColor fill, outline;
} ImgFrameParams;
/* Margins of 0 all round give IMG_UNCHANGED. */
int img_frame(HGLOBAL src, const ImgFrameParams *params, HGLOBAL *out);
int img_frame_in_place(HGLOBAL *dib, const ImgFrameParams *params);

/* ---- tile and mask ---------------------------------------------------------- */

/* Results wider or taller than this are refused as too large. */
#define IMG_TILE_MAX_SIDE 32766

typedef struct ImgTileParams {
    DWORD across, down;
    int mirror;
} ImgTileParams;
/* Both counts below 2 give IMG_UNCHANGED; a count of 0 or a result beyond
   IMG_TILE_MAX_SIDE is IMG_BAD_PARAMS. */
int img_tile(HGLOBAL src, const ImgTileParams *params, HGLOBAL *out);

#define IMG_MASK_FIRST_SHAPE 100
#define IMG_MASK_SHAPES 17

typedef struct ImgMaskParams {
    int invert;        /* paint inside the shape instead of outside */
    int alphaChannel;  /* 32 bits: painted pixels get alpha 255 */
    int colorChannels; /* 32 bits: painted pixels get the color */
    ImgColor color;
} ImgMaskParams;
/* coverage: an 8- or 1-bit DIB of the image's size whose value 0 marks
   the inside of the shape; null (no shape) gives IMG_UNCHANGED.  The
   result keeps the image's depth and table. */
int img_mask(HGLOBAL src, HGLOBAL coverage, const ImgMaskParams *params, HGLOBAL *out);

/* The metafile of shape id (100 to 116), null for another id. */
const BYTE *img_mask_shape(UINT id, size_t *size);
/* An 8-bit coverage of the shape stretched over width x height: the
   metafile played by our own player, 0 inside and 255 outside. */
int img_mask_shape_coverage(UINT id, LONG width, LONG height, HGLOBAL *coverage);

#ifdef __cplusplus
}
#endif

#endif
