#include "core/conversion.h"

#include <string.h>

#include "core/color_ops.h"
#include "core/messages.h"
#include "lumacast_strings.h"

/* Gray conversion keeps palette images at their depth and turns 16-, 24-
   and 32-bit levels into 8-bit gray. */
static int gray_level(int bits) { return bits > 8 ? 8 : bits; }

static void plan_reduction(ConversionPlan *p, int target, int optimized, int dither) {
    p->target = target;
    if (optimized) {
        p->step = CONV_OPTIMIZED_CUT;
        p->colors = target >= 32 ? 0xFFFFFFFFu : (DWORD)1 << target;
        p->dither = dither;
    } else {
        p->step = CONV_FLAT_CUT;
        /* the dithered flat cut exists for 1, 4, 8 and 16 bits only */
        p->dither = target == 24 ? 0 : dither;
    }
}

extern "C" void plan_save_as(int bits, int color, int chosenBits, int chosenColor, int iconFrom32,
                             int saveColorcut, int saveDither, ConversionPlan *p) {
    memset(p, 0, sizeof *p);
    int working = bits;
    p->resultColor = color;
    if (color && !chosenColor) {
        p->toGray = 1;
        working = gray_level(bits);
        p->resultColor = 0;
    } else if (!color && chosenColor) {
        p->markColor = 1;
        p->resultColor = 1;
    }
    p->resultBits = working;
    if (iconFrom32) return;
    if (chosenBits > working) {
        p->step = CONV_INCREASE;
        p->target = chosenBits;
        p->alpha = 255;
    } else if (chosenBits < working) {
        plan_reduction(p, chosenBits, saveColorcut && (chosenBits == 4 || chosenBits == 8), saveDither);
    } else {
        return;
    }
    p->resultBits = chosenBits;
}

extern "C" void plan_batch(int bits, int color, int chosenBits, int chosenGray, int optimizedCut, int dither,
                           ConversionPlan *p) {
    memset(p, 0, sizeof *p);
    int working = bits;
    p->resultColor = color;
    if (color && chosenGray) {
        p->toGray = 1;
        working = gray_level(bits);
        p->resultColor = 0;
    }
    p->resultBits = working;
    if (chosenBits > working) {
        p->step = CONV_INCREASE;
        p->target = chosenBits;
        p->alpha = 255;
    } else if (chosenBits < working) {
        plan_reduction(p, chosenBits, optimizedCut && chosenBits != 16 && chosenBits != 1, dither);
    } else {
        return;
    }
    p->resultBits = chosenBits;
    if (chosenBits == 1) p->resultColor = 0;
}

static const char *step_name(int step) {
    switch (step) {
        case CONV_INCREASE: return "depth increase";
        case CONV_FLAT_CUT: return "flat cut";
        case CONV_OPTIMIZED_CUT: return "optimized cut";
        default: return "gray conversion";
    }
}

static int operation_missing(int step) {
    const ColorOps *ops = color_ops();
    switch (step) {
        case CONV_INCREASE: return !ops->increase_depth;
        case CONV_FLAT_CUT: return !ops->flat_cut;
        case CONV_OPTIMIZED_CUT: return !ops->optimized_cut;
        default: return !ops->to_gray;
    }
}

static HGLOBAL run_step(const ConversionPlan *p, HGLOBAL dib) {
    const ColorOps *ops = color_ops();
    switch (p->step) {
        case CONV_INCREASE: return ops->increase_depth(dib, p->target, p->alpha);
        case CONV_FLAT_CUT: return ops->flat_cut(dib, p->target, !p->resultColor, p->dither);
        case CONV_OPTIMIZED_CUT: return ops->optimized_cut(dib, p->colors, p->dither);
        default: return NULL;
    }
}

extern "C" int conversion_execute(const ConversionPlan *p, HGLOBAL dib, HGLOBAL *out) {
    *out = NULL;
    /* Check every operation before changing anything, so a missing one
       leaves the image as it was. */
    if (p->toGray && operation_missing(-1)) {
        lc_message(MSG_ERROR, IDS_COLOR_OP_MISSING, step_name(-1));
        return 0;
    }
    if (p->step != CONV_NONE && operation_missing(p->step)) {
        lc_message(MSG_ERROR, IDS_COLOR_OP_MISSING, step_name(p->step));
        return 0;
    }
    HGLOBAL current = dib;
    if (p->toGray) {
        current = color_ops()->to_gray(dib);
        if (!current) return 0;
    }
    if (p->step != CONV_NONE) {
        HGLOBAL next = run_step(p, current);
        if (current != dib) GlobalFree(current);
        if (!next) return 0;
        current = next;
    }
    *out = current != dib ? current : NULL;
    return 1;
}
