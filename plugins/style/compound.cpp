// Filters made of other filters and of the outside colour library:
// WaterColor, Glass and Color Pencil.  Every intermediate is freed; a
// step that gives nothing ends the filter.
#include "colorkit.h"
#include "style_internal.h"

namespace {

const int kGlassFrazzle = 1146;
const int kPencilMix = 8192;

}  // namespace

extern "C" HGLOBAL sty_outside_chain(HGLOBAL dib, const StyOutsideProc *steps, int count) {
    HGLOBAL current = dib;
    for (int i = 0; i < count; i++) {
        HGLOBAL next = steps[i](current, 0, 0);
        if (current != dib) GlobalFree(current);
        if (!next) {
            // The library reports nothing itself, and on a source we have
            // checked memory is all it can run out of.
            sty_report_nomem();
            return nullptr;
        }
        current = next;
    }
    return current;
}

extern "C" HGLOBAL sty_run_watercolor(int, HGLOBAL dib, int, int, int, int) {
    static const StyOutsideProc kSteps[] = {CK_Soften, CK_Pigment, CK_Soften, CK_Pigment};
    return sty_outside_chain(dib, kSteps, 4);
}

extern "C" HGLOBAL sty_run_glass(int, HGLOBAL dib, int, int p1, int p2, int p3) {
    static const StyOutsideProc kFrost[] = {CK_Frost};
    HGLOBAL scattered = sty_run_rows(STY_FRAZZLE, dib, kGlassFrazzle, p1, p2, p3);
    if (!scattered) return nullptr;
    HGLOBAL out = sty_outside_chain(scattered, kFrost, 1);
    GlobalFree(scattered);
    return out;
}

extern "C" HGLOBAL sty_run_color_pencil(int, HGLOBAL dib, int, int p1, int p2, int p3) {
    HGLOBAL charcoal = sty_run_rows(STY_CHARCOAL, dib, STY_FULL_AMOUNT, p1, p2, p3);
    if (!charcoal) return nullptr;
    HGLOBAL out = ZYN_DIB_Fade(dib, charcoal, kPencilMix);
    GlobalFree(charcoal);
    if (!out) sty_report_nomem();
    return out;
}
