// The plug-in's settings in section "Image": four groups (scale, frame,
// mask, tile), each opened, read or written and closed on its own.  A
// value that is absent or out of range keeps its default: a damaged value
// would otherwise reach a combo box index or a shape number.
#include <stddef.h>
#include <string.h>

#include "image_strings.h"
#include "plugin.h"

namespace {

enum { G_SCALE, G_FRAME, G_MASK, G_TILE, G_COUNT };

struct Field {
    int group;
    const char *name;
    int readType, writeType;
    size_t offset;
    bool isWord; // a WORD member, else an int
    long low, high;
};

#define AT(member) offsetof(ImgSettings, member)
const Field kFields[] = {
    {G_SCALE, "KeepAspect", IMG_VALUE_BOOL, IMG_VALUE_DWORD, AT(keepAspect), false, 0, 1},
    {G_SCALE, "ScaleMeasure", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(scaleMeasure), true, 0, 2},
    {G_SCALE, "ScaleUnits", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(scaleUnits), true, 0, 3},
    {G_SCALE, "ScaleQuality", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(scaleQuality), true, 0, 1},
    {G_SCALE, "CustomResX", IMG_VALUE_INT, IMG_VALUE_INT, AT(customResX), false, 1, IMG_MAX_DPI},
    {G_SCALE, "CustomResY", IMG_VALUE_INT, IMG_VALUE_INT, AT(customResY), false, 1, IMG_MAX_DPI},
    {G_FRAME, "Style", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(frameStyle), true, 0, 1},
    {G_FRAME, "ChooseColor", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(chooseColor), true, 0, 2},
    {G_FRAME, "Alignment", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(alignment), true, 0, 0xFFFF},
    {G_MASK, "Selected", IMG_VALUE_WORD, IMG_VALUE_DWORD, AT(maskSelected), true, 0, IMG_MASK_SHAPES - 1},
    {G_MASK, "Invert", IMG_VALUE_BOOL, IMG_VALUE_DWORD, AT(maskInvert), false, 0, 1},
    {G_MASK, "AlphaMask", IMG_VALUE_BOOL, IMG_VALUE_DWORD, AT(alphaMask), false, 0, 1},
    {G_MASK, "AlphaColor", IMG_VALUE_BOOL, IMG_VALUE_DWORD, AT(alphaColor), false, 0, 1},
    {G_TILE, "Mirror", IMG_VALUE_BOOL, IMG_VALUE_DWORD, AT(tileMirror), false, 0, 1},
};
#undef AT

long field_get(const ImgSettings &s, const Field &f) {
    const char *at = reinterpret_cast<const char *>(&s) + f.offset;
    if (f.isWord) return *reinterpret_cast<const WORD *>(at);
    return *reinterpret_cast<const int *>(at);
}

void field_set(ImgSettings &s, const Field &f, long v) {
    char *at = reinterpret_cast<char *>(&s) + f.offset;
    if (f.isWord)
        *reinterpret_cast<WORD *>(at) = (WORD)v;
    else
        *reinterpret_cast<int *>(at) = (int)v;
}

// A typed value as the field takes it: an Int reader's negative number
// arrives as its 32-bit pattern.
long as_number(const Field &f, DWORD raw) { return f.readType == IMG_VALUE_INT ? (long)(int)raw : (long)raw; }

bool accepted(const Field &f, long v) {
    if (v < f.low || v > f.high) return false;
    return f.offset != offsetof(ImgSettings, alignment) || img_alignment_valid((DWORD)v);
}

ImgKey open_section(const ImgPlatform *pf) {
    char product[64] = "", version[64] = "", section[32];
    pf->settings_key(pf->context, product, version);
    product[63] = version[63] = '\0';
    img_text(IDS_IMG_SECTION, section, sizeof section);
    return pf->open_settings(pf->context, product, version, section);
}

}  // namespace

extern "C" int img_alignment_valid(DWORD a) {
    DWORD v = a & (IMG_ALIGN_TOP | IMG_ALIGN_VCENTER | IMG_ALIGN_BOTTOM);
    DWORD h = a & (IMG_ALIGN_LEFT | IMG_ALIGN_HCENTER | IMG_ALIGN_RIGHT);
    bool one_v = v == IMG_ALIGN_TOP || v == IMG_ALIGN_VCENTER || v == IMG_ALIGN_BOTTOM;
    bool one_h = h == IMG_ALIGN_LEFT || h == IMG_ALIGN_HCENTER || h == IMG_ALIGN_RIGHT;
    return a == (v | h) && one_v && one_h;
}

extern "C" void img_settings_default(ImgSettings *s) {
    memset(s, 0, sizeof *s);
    s->keepAspect = 1;
    s->scaleMeasure = IMG_MEASURE_SCREEN;
    s->scaleUnits = 0;
    s->scaleQuality = IMG_QUALITY_LOW;
    s->customResX = s->customResY = 96;
    s->alignment = IMG_ALIGN_DEFAULT;
    s->alphaMask = s->alphaColor = 1;
}

extern "C" void img_settings_read(ImgPlugin *p) {
    const ImgPlatform *pf = p->platform;
    for (int g = 0; g < G_COUNT; g++) {
        ImgKey key = open_section(pf);
        if (!key) continue;
        for (const Field &f : kFields) {
            DWORD raw;
            if (f.group != g || !pf->get_value(pf->context, key, f.name, f.readType, &raw)) continue;
            long v = as_number(f, raw);
            if (accepted(f, v)) field_set(p->settings, f, v);
        }
        pf->close_settings(pf->context, key);
    }
}

extern "C" int img_settings_write(ImgPlugin *p) {
    const ImgPlatform *pf = p->platform;
    int closed = 0;
    for (int g = 0; g < G_COUNT; g++) {
        ImgKey key = open_section(pf);
        closed = 0;
        if (!key) continue;
        for (const Field &f : kFields)
            if (f.group == g) pf->set_value(pf->context, key, f.name, f.writeType, (DWORD)field_get(p->settings, f));
        closed = pf->close_settings(pf->context, key);
    }
    return closed;
}
