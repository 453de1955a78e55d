/* --scale: resizing the loaded image before the conversion, through the
   library's resamplers.  WxH or P% pick nearest neighbours; "average-half"
   averages each 2 x 2 block. */
#include <stdlib.h>
#include <string.h>

#include "lumaconv.h"
#include "zynlib.h"

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

static int apply_scale(const ImageStep *step, HGLOBAL *dib) {
    const char *text = step->text;
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(*dib, &bi)) return tool_error("cannot scale this image"), 0;
    HGLOBAL scaled = NULL;
    LONG w, h;
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

static int add_scale(StepList *list, long *, const char *value) {
    if (!scale_text_valid(value)) return 0;
    ImageStep *s = step_append(list);
    if (!s) return 0;
    s->apply = apply_scale;
    s->text = value;
    return 1;
}

static const StepOption SCALE_OPTIONS[] = {{"--scale", 1, add_scale}};

const StepFamily scale_steps = {
    SCALE_OPTIONS, 1,
    "  --scale WxH|P%|average-half\n"
    "                          resize the image: nearest neighbour to WxH\n"
    "                          pixels or P percent, or the mean of every\n"
    "                          2 x 2 block\n"};
