// STY_CallFilter: the one working export.  It checks and clamps what the
// caller passes, keeps the parameters where the row routines read them,
// and hands the filter a source it can read (1- and 4-bit and core-header
// images become 8-bit images with a 40-byte header first).
#include "style_internal.h"

StyParams sty_params;

namespace {

int clamp_amount(int amount) { return amount < 0 ? 0 : amount > STY_FULL_AMOUNT ? STY_FULL_AMOUNT : amount; }

// Only the low 16 bits count; the sliders end at 255.
int clamp_param(DWORD value) {
    WORD v = LOWORD(value);
    return v > 255 ? 255 : (int)v;
}

}  // namespace

extern "C" HGLOBAL WINAPI STY_CallFilter(DWORD filter, HGLOBAL dib, int amount, DWORD p1, DWORD p2, DWORD p3,
                                         DWORD color) {
    WORD number = LOWORD(filter);
    sty_trace("Ent", __FILE__, __LINE__, "STY_CallFilter (%u)", (unsigned)number);
    if (number >= STY_FILTER_COUNT) return nullptr;
    sty_params.p1 = clamp_param(p1);
    sty_params.p2 = clamp_param(p2);
    sty_params.p3 = clamp_param(p3);
    sty_params.color = color;
    HGLOBAL temporary = nullptr;
    HGLOBAL source = sty_readable_source(dib, &temporary);
    HGLOBAL out = nullptr;
    if (source) {
        sty_trace("Exe", __FILE__, __LINE__, "run filter %u", (unsigned)number);
        out = sty_filters[number].run(number, source, clamp_amount(amount), sty_params.p1, sty_params.p2,
                                      sty_params.p3);
    }
    if (temporary) GlobalFree(temporary);
    sty_trace("Exi", __FILE__, __LINE__, "STY_CallFilter");
    return out;
}

extern "C" int WINAPI WEP(int) { return 1; }
