// Dialog arithmetic in 64 bits: the percentage read-back used to overflow
// and loop for ever, and typed sizes reached the operations unchecked.
#include <stdint.h>
#include <stdio.h>

#include "image_dialogs.h"

namespace {

const uint64_t kMax = IMG_MAX_SIDE;

DWORD capped(uint64_t v) { return v > kMax ? 0 : (DWORD)v; }

void format_length(double v, char *text, size_t max) {
    int whole = (int)v;
    snprintf(text, max, "%d.%03d", whole, (int)((v - whole) * 1000));
}

}  // namespace

extern "C" DWORD img_scale_from_percent(DWORD old, DWORD percent) {
    if (old == 0) return 0;
    uint64_t size = ((uint64_t)percent * old + 99) / 100;
    // At most a step or two: size * 100 / old grows by 100 / old per step.
    while (size <= kMax && size * 100 / old < percent) size++;
    return capped(size);
}

extern "C" DWORD img_scale_percent_of(DWORD size, DWORD old) {
    return old ? (DWORD)((uint64_t)size * 100 / old) : 0;
}

extern "C" DWORD img_scale_follow_aspect(DWORD size, DWORD oldThis, DWORD oldOther) {
    if (oldThis == 0) return 0;
    return capped(((uint64_t)size * oldOther + oldThis - 1) / oldThis);
}

extern "C" DWORD img_scale_from_length(double value, int units, int resolution, int isWidth) {
    if (isWidth) value += 0.0009;
    double pixels = value * resolution;
    if (units == IMG_UNITS_CENTIMETERS) pixels /= 2.7;
    if (!(pixels >= 0) || pixels > (double)kMax) return 0;
    return (DWORD)pixels;
}

extern "C" void img_scale_format(DWORD size, DWORD old, int units, int resolution, char *text, size_t max) {
    if (units == IMG_UNITS_PIXELS || resolution <= 0) {
        snprintf(text, max, "%lu", (unsigned long)size);
    } else if (units == IMG_UNITS_PERCENT) {
        snprintf(text, max, "%lu", (unsigned long)img_scale_percent_of(size, old));
    } else {
        float v = units == IMG_UNITS_INCHES ? (float)size / resolution : (float)size * 2.7f / resolution;
        format_length(v, text, max);
    }
}

extern "C" void img_crop_margins(DWORD old, DWORD size, DWORD *right, DWORD *left) {
    DWORD m = size > old ? 0 : old - size;
    *right = m / 2;
    *left = m - m / 2;
}

extern "C" void img_frame_margins(DWORD old, DWORD size, DWORD *left, DWORD *right) {
    DWORD extra = size > old ? size - old : 0;
    *left = extra / 2;
    *right = extra - extra / 2;
}

extern "C" DWORD img_crop_clamp_margin(DWORD old, DWORD typed, DWORD opposite) {
    if (opposite >= old) return 0;
    return (uint64_t)typed + opposite > old ? old - opposite : typed;
}

extern "C" int img_tile_count_parse(const char *text, DWORD *count) {
    uint64_t v = 0;
    if (!text || !*text) return 0;
    for (const char *p = text; *p; p++) {
        if (*p < '0' || *p > '9') return 0;
        v = v * 10 + (unsigned)(*p - '0');
        if (v > IMG_TILE_MAX_SIDE) return 0;  // checked before it is stored
    }
    if (v == 0) return 0;
    *count = (DWORD)v;
    return 1;
}
