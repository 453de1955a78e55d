/* The image operations as image steps: --invert, --flip, --mirror, --crop,
   --rotate, --frame, --tile and --mask, with their modifiers.  A modifier
   changes the nearest step of its kind before it and every one after it.
   Failures show the plug-in's own text. */
#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "image_dialogs.h"
#include "image_ops.h"
#include "lumaconv.h"
#include "zynlib.h"

/* The family's scratch: current modifiers, and where the last step of
   each kind is (its index + 1, 0 for none). */
enum {
    S_ROTATE_QUALITY, S_BACKGROUND, S_FRAME_STYLE, S_FRAME_FILL, S_FRAME_OUTLINE, S_TILE_MIRROR, S_MASK_INVERT,
    S_MASK_COLOR, S_LAST_ROTATE, S_LAST_FRAME, S_LAST_TILE, S_LAST_MASK
};

/* Arguments of a step: the option's numbers, then its modifiers. */
enum { A_VALUE0 = 0, A_QUALITY = 4, A_STYLE = 4, A_MIRROR = 4, A_INVERT = 4, A_COLOR = 5, A_COLOR2 = 6 };

/* Colors are kept in one long: 0 the default, 1 << 24 | 0xRRGGBB, or
   2 << 24 | index. */
#define COLOR_RGB (1L << 24)
#define COLOR_INDEX (2L << 24)

static int show_failure(ImgOperation op, int status) {
    UINT id = img_message_id(op, status);
    if (id)
        ZYN_ERR_ErrorID(img_instance(), ZYN_ERR_LEVEL_PLAIN, id);
    else
        tool_error("the image operation failed");
    return 0;
}

/* The result replaces the image; an unchanged image stays.  result is
   read here, after the operation has filled it. */
static int finish(ImgOperation op, int status, HGLOBAL *dib, const HGLOBAL *result) {
    if (status == IMG_UNCHANGED) return 1;
    if (status != IMG_OK) return show_failure(op, status);
    GlobalFree(*dib);
    *dib = *result;
    return 1;
}

/* The color of a step for this image, from the option's value or the
   default; an index needs a palette image. */
static int resolve_color(HGLOBAL dib, long value, BYTE red, BYTE green, BYTE blue, const char *option,
                         ImgColor *c) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(dib, &bi)) return show_failure(IMG_OP_INVERT, IMG_BAD_IMAGE);
    c->index = 0;
    c->red = red, c->green = green, c->blue = blue;
    if ((value & ~0xFFFFFFL) == COLOR_INDEX) {
        if (bi.biBitCount > 8) return tool_error("%s #%ld needs a palette image", option, value & 0xFFFFFF), 0;
        c->index = (DWORD)(value & 0xFFFFFF);
        return img_color_from_table(dib, c);
    }
    if ((value & ~0xFFFFFFL) == COLOR_RGB) {
        c->red = (BYTE)(value >> 16), c->green = (BYTE)(value >> 8), c->blue = (BYTE)value;
        return img_color_nearest(dib, c);
    }
    return img_color_from_table(dib, c);
}

/* ---- the steps ---------------------------------------------------------- */

/* The image is ours: invert, flip and mirror work on it in place. */
static int apply_invert(const ImageStep *, HGLOBAL *dib) {
    int status = img_invert_in_place(*dib, NULL);
    return status == IMG_OK ? 1 : show_failure(IMG_OP_INVERT, status);
}

static int apply_flip(const ImageStep *, HGLOBAL *dib) {
    int status = img_flip_in_place(*dib);
    return status == IMG_OK ? 1 : show_failure(IMG_OP_FLIP, status);
}

static int apply_mirror(const ImageStep *, HGLOBAL *dib) {
    int status = img_mirror_in_place(*dib);
    return status == IMG_OK ? 1 : show_failure(IMG_OP_MIRROR, status);
}

static int apply_crop(const ImageStep *s, HGLOBAL *dib) {
    ImgCropParams p = {(LONG)s->arg[0], (LONG)s->arg[1], (LONG)s->arg[2], (LONG)s->arg[3]};
    int status = img_crop_in_place(dib, &p);
    return status == IMG_OK ? 1 : show_failure(IMG_OP_CROP, status);
}

static int apply_rotate(const ImageStep *s, HGLOBAL *dib) {
    ImgRotateParams p;
    p.angle = (int)s->arg[A_VALUE0];
    p.quality = (int)s->arg[A_QUALITY];
    if (!resolve_color(*dib, s->arg[A_COLOR], 192, 192, 192, "--background", &p.background)) return 0;
    HGLOBAL out = NULL;
    return finish(IMG_OP_ROTATE, img_rotate(*dib, &p, NULL, &out), dib, &out);
}

static int apply_frame(const ImageStep *s, HGLOBAL *dib) {
    ImgFrameParams p;
    p.left = (DWORD)s->arg[0], p.top = (DWORD)s->arg[1], p.right = (DWORD)s->arg[2], p.bottom = (DWORD)s->arg[3];
    p.style = (int)s->arg[A_STYLE];
    if (!resolve_color(*dib, s->arg[A_COLOR], 128, 128, 128, "--frame-fill", &p.fill) ||
        !resolve_color(*dib, s->arg[A_COLOR2], 160, 160, 160, "--frame-outline", &p.outline))
        return 0;
    int status = img_frame_in_place(dib, &p);
    return status == IMG_OK || status == IMG_UNCHANGED ? 1 : show_failure(IMG_OP_FRAME, status);
}

static int apply_tile(const ImageStep *s, HGLOBAL *dib) {
    ImgTileParams p = {(DWORD)s->arg[0], (DWORD)s->arg[1], (int)s->arg[A_MIRROR]};
    HGLOBAL out = NULL;
    return finish(IMG_OP_TILE, img_tile(*dib, &p, &out), dib, &out);
}

static int apply_mask(const ImageStep *s, HGLOBAL *dib) {
    ImgMaskParams p;
    p.invert = (int)s->arg[A_INVERT];
    p.alphaChannel = p.colorChannels = 1;
    if (!resolve_color(*dib, s->arg[A_COLOR], 192, 192, 192, "--mask-color", &p.color)) return 0;
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(*dib, &bi)) return show_failure(IMG_OP_MASK, IMG_BAD_IMAGE);
    HGLOBAL coverage, out = NULL;
    int status = img_mask_shape_coverage((UINT)s->arg[A_VALUE0], bi.biWidth, bi.biHeight, &coverage);
    if (status != IMG_OK) return show_failure(IMG_OP_MASK_SHAPE, status);
    status = img_mask(*dib, coverage, &p, &out);
    GlobalFree(coverage);
    return finish(IMG_OP_MASK, status, dib, &out);
}

/* ---- parsing ------------------------------------------------------------- */

/* Up to n comma-separated integers in [lo, hi], exactly n of them. */
static int parse_numbers(const char *text, int n, long lo, long hi, long *out) {
    const char *p = text;
    for (int i = 0; i < n; i++) {
        char *end;
        if (!isdigit((unsigned char)*p) && *p != '-') return 0;
        long v = strtol(p, &end, 10);
        if (end == p || v < lo || v > hi) return 0;
        out[i] = v;
        if (i + 1 < n && *end != ',') return 0;
        p = end + (i + 1 < n);
        if (i + 1 == n && *end) return 0;
    }
    return 1;
}

static int parse_color(const char *text, long *color) {
    long v[3];
    if (text[0] == '#') {
        if (!parse_numbers(text + 1, 1, 0, 255, v)) return 0;
        *color = COLOR_INDEX | v[0];
        return 1;
    }
    if (!parse_numbers(text, 3, 0, 255, v)) return 0;
    *color = COLOR_RGB | v[0] << 16 | v[1] << 8 | v[2];
    return 1;
}

/* A shape by id or by name, ignoring case, spaces, '-' and '_'. */
static void squeeze(const char *text, char *out, size_t max) {
    size_t n = 0;
    for (; *text && n + 1 < max; text++)
        if (*text != ' ' && *text != '-' && *text != '_') out[n++] = (char)tolower((unsigned char)*text);
    out[n] = '\0';
}

static long parse_shape(const char *text) {
    long id;
    if (parse_numbers(text, 1, IMG_MASK_FIRST_SHAPE, IMG_MASK_FIRST_SHAPE + IMG_MASK_SHAPES - 1, &id)) return id;
    char want[64], name[64], have[64];
    squeeze(text, want, sizeof want);
    for (id = IMG_MASK_FIRST_SHAPE; id < IMG_MASK_FIRST_SHAPE + IMG_MASK_SHAPES; id++) {
        if (!LoadStringA(img_instance(), (UINT)id, name, sizeof name)) continue;
        squeeze(name, have, sizeof have);
        if (strcmp(want, have) == 0) return id;
    }
    return 0;
}

static ImageStep *add_step(StepList *list, long *state, int last, int (*apply)(const ImageStep *, HGLOBAL *),
                           const char *value) {
    ImageStep *s = step_append(list);
    if (!s) return NULL;
    s->apply = apply;
    s->text = value;
    if (last >= 0) state[last] = list->count;
    return s;
}

/* A modifier: the family's value, the last step of its kind and later ones. */
static int modify(StepList *list, long *state, int slot, int last, int arg, long value) {
    state[slot] = value;
    if (state[last]) list->step[state[last] - 1].arg[arg] = value;
    return 1;
}

static int add_invert(StepList *l, long *st, const char *v) { return add_step(l, st, -1, apply_invert, v) != NULL; }
static int add_flip(StepList *l, long *st, const char *v) { return add_step(l, st, -1, apply_flip, v) != NULL; }
static int add_mirror(StepList *l, long *st, const char *v) { return add_step(l, st, -1, apply_mirror, v) != NULL; }

static int add_crop(StepList *l, long *st, const char *v) {
    long m[4];
    if (!parse_numbers(v, 4, 0, 0x7FFFFFFF, m)) return 0;
    ImageStep *s = add_step(l, st, -1, apply_crop, v);
    if (s) memcpy(s->arg, m, sizeof m);
    return s != NULL;
}

static int add_rotate(StepList *l, long *st, const char *v) {
    long a;
    if (!parse_numbers(v, 1, -360, 360, &a)) return 0;
    ImageStep *s = add_step(l, st, S_LAST_ROTATE, apply_rotate, v);
    if (!s) return 0;
    s->arg[A_VALUE0] = a, s->arg[A_QUALITY] = st[S_ROTATE_QUALITY], s->arg[A_COLOR] = st[S_BACKGROUND];
    return 1;
}

static int add_frame(StepList *l, long *st, const char *v) {
    long m[4];
    if (!parse_numbers(v, 4, 0, IMG_MAX_SIDE, m)) return 0;
    ImageStep *s = add_step(l, st, S_LAST_FRAME, apply_frame, v);
    if (!s) return 0;
    memcpy(s->arg, m, sizeof m);
    s->arg[A_STYLE] = st[S_FRAME_STYLE], s->arg[A_COLOR] = st[S_FRAME_FILL], s->arg[A_COLOR2] = st[S_FRAME_OUTLINE];
    return 1;
}

static int add_tile(StepList *l, long *st, const char *v) {
    const char *x = strchr(v, 'x');
    char across[16];
    DWORD a, d;
    if (!x || x - v >= (long)sizeof across) return 0;
    memcpy(across, v, (size_t)(x - v));
    across[x - v] = '\0';
    if (!img_tile_count_parse(across, &a) || !img_tile_count_parse(x + 1, &d)) return 0;
    ImageStep *s = add_step(l, st, S_LAST_TILE, apply_tile, v);
    if (!s) return 0;
    s->arg[0] = (long)a, s->arg[1] = (long)d, s->arg[A_MIRROR] = st[S_TILE_MIRROR];
    return 1;
}

static int add_mask(StepList *l, long *st, const char *v) {
    long id = parse_shape(v);
    if (!id) return 0;
    ImageStep *s = add_step(l, st, S_LAST_MASK, apply_mask, v);
    if (!s) return 0;
    s->arg[A_VALUE0] = id, s->arg[A_INVERT] = st[S_MASK_INVERT], s->arg[A_COLOR] = st[S_MASK_COLOR];
    return 1;
}

static int add_rotate_quality(StepList *l, long *st, const char *v) {
    if (strcmp(v, "low") != 0 && strcmp(v, "high") != 0) return 0;
    return modify(l, st, S_ROTATE_QUALITY, S_LAST_ROTATE, A_QUALITY, strcmp(v, "high") == 0);
}

static int add_background(StepList *l, long *st, const char *v) {
    long c;
    return parse_color(v, &c) && modify(l, st, S_BACKGROUND, S_LAST_ROTATE, A_COLOR, c);
}

static int add_frame_style(StepList *l, long *st, const char *v) {
    if (strcmp(v, "filled") != 0 && strcmp(v, "outline") != 0) return 0;
    return modify(l, st, S_FRAME_STYLE, S_LAST_FRAME, A_STYLE,
                  strcmp(v, "outline") == 0 ? IMG_FRAME_OUTLINE : IMG_FRAME_FILLED);
}

static int add_frame_fill(StepList *l, long *st, const char *v) {
    long c;
    return parse_color(v, &c) && modify(l, st, S_FRAME_FILL, S_LAST_FRAME, A_COLOR, c);
}

static int add_frame_outline(StepList *l, long *st, const char *v) {
    long c;
    return parse_color(v, &c) && modify(l, st, S_FRAME_OUTLINE, S_LAST_FRAME, A_COLOR2, c);
}

static int add_tile_mirror(StepList *l, long *st, const char *) {
    return modify(l, st, S_TILE_MIRROR, S_LAST_TILE, A_MIRROR, 1);
}

static int add_mask_invert(StepList *l, long *st, const char *) {
    return modify(l, st, S_MASK_INVERT, S_LAST_MASK, A_INVERT, 1);
}

static int add_mask_color(StepList *l, long *st, const char *v) {
    long c;
    return parse_color(v, &c) && modify(l, st, S_MASK_COLOR, S_LAST_MASK, A_COLOR, c);
}

static const StepOption IMAGE_OPTIONS[] = {
    {"--invert", 0, add_invert},
    {"--flip", 0, add_flip},
    {"--mirror", 0, add_mirror},
    {"--crop", 1, add_crop},
    {"--rotate", 1, add_rotate},
    {"--rotate-quality", 1, add_rotate_quality},
    {"--background", 1, add_background},
    {"--frame", 1, add_frame},
    {"--frame-style", 1, add_frame_style},
    {"--frame-fill", 1, add_frame_fill},
    {"--frame-outline", 1, add_frame_outline},
    {"--tile", 1, add_tile},
    {"--tile-mirror", 0, add_tile_mirror},
    {"--mask", 1, add_mask},
    {"--mask-invert", 0, add_mask_invert},
    {"--mask-color", 1, add_mask_color},
};

const StepFamily image_steps = {
    IMAGE_OPTIONS, (int)(sizeof IMAGE_OPTIONS / sizeof IMAGE_OPTIONS[0]),
    "  --invert                invert the colors (palette images: the table)\n"
    "  --flip                  turn the image upside down\n"
    "  --mirror                reverse it left to right\n"
    "  --crop L,T,R,B          cut margins off, in pixels, top as displayed\n"
    "  --rotate DEG            turn by -360..360 degrees, positive clockwise;\n"
    "                          multiples of 90 are exact, other angles make a\n"
    "                          larger canvas\n"
    "  --rotate-quality low|high\n"
    "                          nearest pixel (default) or 2 x 2 samples\n"
    "  --background R,G,B|#INDEX\n"
    "                          the uncovered corners (default 192,192,192;\n"
    "                          palette images: entry 0 or the nearest one)\n"
    "  --frame L,T,R,B         add margins, in pixels\n"
    "  --frame-style filled|outline\n"
    "                          a one-pixel outline on the outermost pixels\n"
    "  --frame-fill R,G,B|#INDEX      the margins (default 128,128,128)\n"
    "  --frame-outline R,G,B|#INDEX   the outline (default 160,160,160)\n"
    "  --tile ACROSSxDOWN      repeat the image, each count 1..32766\n"
    "  --tile-mirror           mirror every second tile and tile row\n"
    "  --mask NAME|ID          keep the image inside a shape (100..116: checkers,\n"
    "                          circle, clover, club, computer, down-arrow,\n"
    "                          diamond, heart, keyhole, left-arrow, moon,\n"
    "                          profile, right-arrow, spade, star, triangle,\n"
    "                          up-arrow) and paint the rest\n"
    "  --mask-invert           paint inside the shape instead\n"
    "  --mask-color R,G,B|#INDEX      the paint (default 192,192,192)\n"
    "  A quality, color, style or mirror option changes the nearest step of\n"
    "  its kind before it and every one after it.\n"};
