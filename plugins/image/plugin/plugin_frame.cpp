// Frame and caption: the canvas from the pixel code, then the caption as a
// shape applied with the mask routine in the text color.  The record's
// margins decide the canvas; its 16-bit extra sizes are only kept for
// whoever reads the record.
#include <string.h>

#include "image_strings.h"
#include "plugin.h"
#include "zynlib.h"

namespace {

ImgColor color_of(const ImgFrameColor &c) { return ImgColor{c.index, c.blue, c.green, c.red}; }

// IMG_OK with the text in; IMG_NO_MEMORY or IMG_BAD_PARAMS: the caption failed.
int add_caption(const ImgPlatform *pf, HGLOBAL *image, const ImgFrameRecord *r, int invertOff, int alpha,
                int color) {
    BITMAPINFOHEADER bi;
    if (!ZYN_DIB_Info(*image, &bi)) return IMG_BAD_IMAGE;
    HGLOBAL coverage = nullptr;
    int status = pf->caption_coverage(pf->context, r, bi.biWidth, bi.biHeight, &coverage);
    if (status != IMG_OK) return status;
    ImgMaskParams mask = {!invertOff, alpha, color, color_of(r->text)};
    HGLOBAL out = nullptr;
    status = img_mask(*image, coverage, &mask, &out);
    GlobalFree(coverage);
    if (status != IMG_OK) return status == IMG_NO_MEMORY ? IMG_NO_MEMORY : IMG_BAD_PARAMS;
    GlobalFree(*image);
    *image = out;
    return IMG_OK;
}

}  // namespace

extern "C" int img_charset_of_name(const char *name) {
    static const struct {
        const char *name;
        int set;
    } kSets[] = {{"ANSI", 0}, {"SYMBOL", 2}, {"SHIFTJIS", 128}, {"OEM", 255}};
    for (const auto &s : kSets)
        if (name && strcmp(name, s.name) == 0) return s.set;
    return -1;
}

extern "C" void img_frame_record_default(ImgFrameRecord *r) {
    memset(r, 0, sizeof *r);
    r->alignment = IMG_ALIGN_DEFAULT;
    r->style = IMG_FRAME_FILLED;
    r->fill = ImgFrameColor{0, 128, 128, 128};
    r->outline = ImgFrameColor{0, 160, 160, 160};
    r->text = ImgFrameColor{0, 192, 192, 192};
    r->font.lfHeight = 16;
    r->font.lfWeight = 500;
    r->font.lfCharSet = 0;
    strcpy(r->font.lfFaceName, "Helv");
    // The face and character set of this language's table.
    char face[32], set[32];
    if (LoadStringA(img_instance(), IDS_IMG_FONT_FACE, face, sizeof face) > 0) strcpy(r->font.lfFaceName, face);
    int charset = LoadStringA(img_instance(), IDS_IMG_FONT_CHARSET, set, sizeof set) > 0 ? img_charset_of_name(set) : -1;
    if (charset >= 0) r->font.lfCharSet = (BYTE)charset;
}

extern "C" void img_frame_params_of(const ImgFrameRecord *r, ImgFrameParams *out) {
    out->left = r->left;
    out->top = r->top;
    out->right = r->right;
    out->bottom = r->bottom;
    out->style = r->style == IMG_FRAME_OUTLINE ? IMG_FRAME_OUTLINE : IMG_FRAME_FILLED;
    out->fill = color_of(r->fill);
    out->outline = color_of(r->outline);
}

extern "C" HGLOBAL img_frame_dib(const ImgPlatform *pf, HGLOBAL dib, const ImgFrameRecord *r, int invertOff,
                                 int alpha, int color) {
    ImgFrameParams params;
    img_frame_params_of(r, &params);
    HGLOBAL image = nullptr;
    int status = img_frame(dib, &params, &image);
    if (status == IMG_UNCHANGED) {
        // A caption alone: a copy built afresh (a block copy would keep a
        // biSizeImage shorter than the rows).
        ImgCropParams whole = {0, 0, 0, 0};
        status = img_crop(dib, &whole, &image);
    }
    if (status != IMG_OK) {
        img_say(status == IMG_BAD_IMAGE ? IDS_IMG_ILLEGAL_IMAGE : IDS_IMG_NOMEM_FRAME);
        return nullptr;
    }
    if (!r->caption || !r->caption[0]) return image;
    status = add_caption(pf, &image, r, invertOff, alpha, color);
    if (status == IMG_NO_MEMORY) {
        GlobalFree(image);
        img_say(IDS_IMG_NOMEM_FRAME);
        return nullptr;
    }
    if (status != IMG_OK) img_say(IDS_IMG_NO_CAPTION_TEXT);
    return image;
}
