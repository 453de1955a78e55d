// The depth level and color flag of an image window, and the Colors-menu
// commands that change them.
#include "color/depth/depth.h"
#include "zynlib.h"

extern "C" int depth_level_of(HGLOBAL dib) {
    BITMAPINFOHEADER h;
    return ZYN_DIB_Info(dib, &h) ? h.biBitCount : 0;
}

extern "C" int depth_table_has_color(HGLOBAL dib) {
    BITMAPINFOHEADER *h;
    RGBQUAD *table;
    if (!dib || !ZYN_DIB_LockPtrs(dib, &h, &table, nullptr)) return 0;
    int color = 0;
    // The short header form has 3-byte entries; both start blue, green, red.
    size_t step = h->biSize == sizeof(BITMAPCOREHEADER) ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    const BYTE *e = reinterpret_cast<const BYTE *>(table);
    for (WORD i = 0, n = ZYN_DIB_NumColors(h); i < n && !color; i++, e += step)
        color = e[0] != e[1] || e[1] != e[2];
    GlobalUnlock(dib);
    return color;
}

extern "C" int depth_color_after_install(int color, HGLOBAL dib) {
    if (!color) return 0;
    int bits = depth_level_of(dib);
    if (bits > 8 || bits == 0) return color;
    return depth_table_has_color(dib);
}

extern "C" void depth_command_mark_color(DepthState *state) { state->color = 1; }

extern "C" HGLOBAL depth_command_gray(HGLOBAL dib, DepthState *state) {
    HGLOBAL gray = depth_to_gray(dib);
    if (!gray) return nullptr;
    state->color = 0;
    if (state->level >= 16) state->level = 8;
    return gray;
}

extern "C" int depth_command_increase(HGLOBAL dib, DepthState *state, int level, BYTE alpha, HGLOBAL *result) {
    *result = nullptr;
    // The 16-bit level already is 24-bit data.
    if (state->level == 16 && level == 24) {
        state->level = 24;
        return 1;
    }
    HGLOBAL out = depth_increase(dib, level, alpha);
    if (!out) return 0;
    state->level = level;
    *result = out;
    return 1;
}

extern "C" int depth_is_command(UINT id) {
    switch (id) {
    case DEPTH_CMD_COLOR:
    case DEPTH_CMD_GRAY:
    case DEPTH_CMD_INCREASE_16:
    case DEPTH_CMD_INCREASE_256:
    case DEPTH_CMD_INCREASE_16BIT:
    case DEPTH_CMD_INCREASE_24:
    case DEPTH_CMD_INCREASE_32_OPAQUE:
    case DEPTH_CMD_INCREASE_32_TRANSPARENT: return 1;
    default: return 0;
    }
}

extern "C" int depth_command(UINT id, HGLOBAL dib, DepthState *state, HGLOBAL *result) {
    *result = nullptr;
    switch (id) {
    case DEPTH_CMD_COLOR: depth_command_mark_color(state); return 1;
    case DEPTH_CMD_GRAY: return (*result = depth_command_gray(dib, state)) != nullptr;
    case DEPTH_CMD_INCREASE_16: return depth_command_increase(dib, state, 4, 0, result);
    case DEPTH_CMD_INCREASE_256: return depth_command_increase(dib, state, 8, 0, result);
    case DEPTH_CMD_INCREASE_16BIT: return depth_command_increase(dib, state, 16, 0, result);
    case DEPTH_CMD_INCREASE_24: return depth_command_increase(dib, state, 24, 0, result);
    case DEPTH_CMD_INCREASE_32_OPAQUE: return depth_command_increase(dib, state, 32, 255, result);
    case DEPTH_CMD_INCREASE_32_TRANSPARENT: return depth_command_increase(dib, state, 32, 0, result);
    default: return 0;
    }
}
