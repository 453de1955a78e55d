/* --scale: resizing the loaded image before the conversion, through the
   library's resamplers.  WxH or P% pick nearest neighbours; "average-half"
   averages each 2 x 2 block.  P% is floor(side x P / 100) at either
   quality.  --scale-quality high takes WxH and P% to the image plug-in's
   resampler (area averaging down, squared-weight taps up); like the other
   modifiers it changes the nearest --scale before it and every later one. */
#include <stdlib.h>
#include <string.h>

#include "lumaconv.h"
#include "zynlib.h"
#ifdef LC_HAVE_IMAGE_OPS
#include "core/image_traits.h"
#include "image_ops.h"
#endif

/* The family's scratch: the quality, and the last --scale (index + 1). */
enum { S_QUALITY, S_LAST_SCALE };

static int parse_size(const char *text, LONG width, LONG height, LONG *w, LONG *h) {
    char *end;
    long a = strtol(text, &end, 10);
    if (end == text || a <= 0) return 0;
    if (end[0] == '%' && end[1] == '\0') {
        long long ww = (long long)width * a / 100, hh = (long long)height * a / 100;
        if (ww <= 0 || hh <= 0 || ww > 0x7FFFFFFF || hh > 0x7FFFFFFF) return 0;
        *w = (LONG)ww, *h = (LONG)hh;
        return 1;
    }
    if (*end != 'x') return 0;
    const char *second = end + 1;
    long b = strtol(second, &end, 10);
    if (end == second || *end || b <= 0) return 0;
    *w = (LONG)a, *h = (LONG)b;
    return a <= 0x7FFFFFFF && b <= 0x7FFFFFFF;
}

static int scale_text_valid(const char *text) {
    LONG w, h;
    return strcmp(text, "average-half") == 0 || parse_size(text, 1000, 1000, &w, &h);
}

#ifdef LC_HAVE_IMAGE_OPS
/* High quality, in gray for a palette image of gray entries as the
   program's window would call it. */
static int scale_high(HGLOBAL *dib, LONG w, LONG h) {
    int bits = 0, color = 1;
    image_traits(*dib, &bits, &color);
    ImgScaleParams p = {w, h, IMG_QUALITY_HIGH, !color};
    HGLOBAL scaled = NULL;
    int status = img_scale(*dib, &p, NULL, &scaled);
    if (status == IMG_UNCHANGED) return 1;
    if (status != IMG_OK) {
        UINT id = img_message_id(IMG_OP_SCALE, status);
        if (id) ZYN_ERR_ErrorID(img_instance(), ZYN_ERR_LEVEL_PLAIN, id);
        else tool_error("cannot scale this image");
        return 0;
    }
    GlobalFree(*dib);
    *dib = scaled;
    return 1;
}
#endif

static int apply_scale(const ImageStep *step, HGLOBAL *dib) {
    const char *text = step->text;
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(*dib, &bi)) return tool_error("cannot scale this image"), 0;
    HGLOBAL scaled = NULL;
    LONG w, h;
#ifdef LC_HAVE_IMAGE_OPS
    if (step->arg[S_QUALITY] && strcmp(text, "average-half") != 0 && parse_size(text, bi.biWidth, bi.biHeight, &w, &h))
        return scale_high(dib, w, h);
#endif
    if (strcmp(text, "average-half") == 0)
        scaled = ZYN_DIB_HQHalfDIB(*dib);
    else if (parse_size(text, bi.biWidth, bi.biHeight, &w, &h))
        scaled = ZYN_DIB_StretchDIB(*dib, w, h);
    if (!scaled) return tool_error("cannot scale a %u-bit %dx%d image by '%s'", (unsigned)bi.biBitCount,
                                   (int)bi.biWidth, (int)bi.biHeight, text), 0;
    GlobalFree(*dib);
    *dib = scaled;
    return 1;
}

static int add_scale(StepList *list, long *state, const char *value) {
    if (!scale_text_valid(value)) return 0;
    ImageStep *s = step_append(list);
    if (!s) return 0;
    s->apply = apply_scale;
    s->text = value;
    s->arg[S_QUALITY] = state[S_QUALITY];
    state[S_LAST_SCALE] = list->count;
    return 1;
}

#ifdef LC_HAVE_IMAGE_OPS
static int add_scale_quality(StepList *list, long *state, const char *value) {
    if (strcmp(value, "low") != 0 && strcmp(value, "high") != 0) return 0;
    state[S_QUALITY] = strcmp(value, "high") == 0;
    if (state[S_LAST_SCALE]) list->step[state[S_LAST_SCALE] - 1].arg[S_QUALITY] = state[S_QUALITY];
    return 1;
}

static const StepOption SCALE_OPTIONS[] = {{"--scale", 1, add_scale}, {"--scale-quality", 1, add_scale_quality}};
#define SCALE_QUALITY_HELP \
    "  --scale-quality low|high\n" \
    "                          nearest neighbour (default), or area averaging\n" \
    "                          down and two squared-weight taps up (24 bits,\n" \
    "                          32 from 32, 8-bit gray from a gray palette)\n"
#else
static const StepOption SCALE_OPTIONS[] = {{"--scale", 1, add_scale}};
#define SCALE_QUALITY_HELP ""
#endif

const StepFamily scale_steps = {
    SCALE_OPTIONS, (int)(sizeof SCALE_OPTIONS / sizeof SCALE_OPTIONS[0]),
    "  --scale WxH|P%|average-half\n"
    "                          resize the image: nearest neighbour to WxH\n"
    "                          pixels or P percent (floor of side x P / 100),\n"
    "                          or the mean of every 2 x 2 block\n" SCALE_QUALITY_HELP};
