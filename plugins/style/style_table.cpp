// The filter table: 39 entries in number order and the all-zero
// terminator.  Entries without row routines of their own (the unfilled
// filters, the 8-bit paths of Lens Flare and Test Filter) copy the source.
#include "style_internal.h"

namespace {

constexpr DWORD name_id(int n) { return n == 38 ? 4175u : 4128u + (DWORD)n; }
constexpr DWORD head(int n) { return (DWORD)n << 16 | name_id(n); }
constexpr DWORD first_label(DWORD id) { return id << 16 | 5u; }
constexpr DWORD defaults(int p1, int p2) { return (DWORD)p2 << 16 | (DWORD)p1; }

const DWORD E = STY_FLAG_EDITOR, C = STY_FLAG_COLOR;
const DWORD L_NONE = first_label(0);
const DWORD L_NUMBER = first_label(IDS_STY_LABEL_NUMBER);
const DWORD L_ANGLE = first_label(IDS_STY_LABEL_ANGLE);
const DWORD L_AMOUNT = first_label(IDS_STY_LABEL_AMOUNT);
const DWORD L_COLORS = first_label(IDS_STY_LABEL_COLORS);
const DWORD L_SIZE = first_label(IDS_STY_LABEL_SIZE);

#define ROWS(name) sty_##name##_row8, sty_##name##_row24
#define FLAGGED(name) sty_flag_rows_start, ROWS(name), sty_flag_rows_end
#define UNFILLED(n) {head(n), E, sty_run_rows, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0}

}  // namespace

extern "C" const StyFilter sty_filters[STY_FILTER_COUNT + 1] = {
    UNFILLED(0),
    UNFILLED(1),
    UNFILLED(2),
    {head(3), E, sty_run_watercolor, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    UNFILLED(4),
    UNFILLED(5),
    {head(6), E | C, sty_run_rows, FLAGGED(find_edges), L_NONE, 0, 0, 0},
    UNFILLED(7),
    {head(8), E, sty_run_rows, nullptr, nullptr, sty_lens_flare_row24, nullptr, L_NONE, 0, 0, 0},
    {head(9), 0, sty_run_rows, nullptr, ROWS(mosaic), nullptr, L_NONE, 0, 0, 0},
    {head(10), E | C, sty_run_brush, nullptr, nullptr, nullptr, nullptr, L_NUMBER, IDS_STY_LABEL_RANDOMNESS,
     defaults(128, 128), 0},
    {head(11), E, sty_run_rows, nullptr, ROWS(solarize), nullptr, L_NONE, 0, 0, 0},
    {head(12), E, sty_run_texture, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(13), E | C, sty_run_rows, FLAGGED(contours), L_NONE, 0, 0, 0},
    {head(14), E, sty_run_rows, nullptr, ROWS(shake), nullptr, L_ANGLE, IDS_STY_LABEL_AMOUNT, defaults(0, 128), 0},
    {head(15), E, sty_run_texture, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(16), E, sty_run_texture, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(17), E, sty_run_rows, nullptr, ROWS(dark_strokes), nullptr, L_NONE, 0, 0, 0},
    {head(18), E, sty_run_rows, nullptr, ROWS(fresco), nullptr, L_NONE, 0, 0, 0},
    {head(19), E | C, sty_run_rows, nullptr, ROWS(stamp), nullptr, L_NONE, 0, 0, 0},
    {head(20), E, sty_run_rows, nullptr, ROWS(motion_blur), nullptr, L_ANGLE, 0, defaults(0, 0), 0},
    {head(21), E, sty_run_rows, nullptr, ROWS(center_blur), nullptr, L_AMOUNT, 0, defaults(128, 0), 0},
    {head(22), E, sty_run_rows, nullptr, ROWS(radial_blur), nullptr, L_NONE, 0, 0, 0},
    {head(23), 0, sty_run_rows, nullptr, ROWS(frazzle), nullptr, L_NONE, 0, 0, 0},
    {head(24), E, sty_run_texture, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(25), E, sty_run_texture, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(26), E, sty_run_glass, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(27), E | C, sty_run_brush, nullptr, nullptr, nullptr, nullptr, L_NUMBER, IDS_STY_LABEL_RANDOMNESS,
     defaults(128, 128), 0},
    {head(28), E | C, sty_run_brush, nullptr, nullptr, nullptr, nullptr, L_NUMBER, IDS_STY_LABEL_RANDOMNESS,
     defaults(128, 128), 0},
    {head(29), E | C, sty_run_brush, nullptr, nullptr, nullptr, nullptr, L_NUMBER, IDS_STY_LABEL_RANDOMNESS,
     defaults(128, 128), 0},
    {head(30), 0, sty_run_rows, nullptr, ROWS(reflection), nullptr, L_AMOUNT, 0, defaults(128, 0), 0},
    {head(31), E, sty_run_rows, FLAGGED(charcoal), L_NONE, 0, 0, 0},
    {head(32), E, sty_run_rows, nullptr, ROWS(posterize), nullptr, L_COLORS, 0, defaults(128, 0), 0},
    {head(33), E | C, sty_run_rows, nullptr, ROWS(sampler), nullptr, L_SIZE, 0, defaults(128, 0), 0},
    {head(34), E | C, sty_run_rows, nullptr, ROWS(crosshair), nullptr, L_SIZE, 0, defaults(255, 0), 0},
    {head(35), E, sty_run_color_pencil, nullptr, nullptr, nullptr, nullptr, L_NONE, 0, 0, 0},
    {head(36), E, sty_run_bubbles, nullptr, nullptr, nullptr, nullptr, L_NUMBER, IDS_STY_LABEL_RANDOMNESS,
     defaults(128, 0), 0},
    {head(37), 0, sty_run_rows, nullptr, ROWS(kaleidoscope), nullptr, L_NONE, 0, 0, 0},
    {head(38), 0, sty_run_rows, nullptr, nullptr, sty_test_filter_row24, nullptr, L_NONE, 0, 0, 0},
    {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

extern "C" int sty_filter_info(int number, StyFilterInfo *info) {
    if (number < 0 || number >= STY_FILTER_COUNT) return 0;
    const StyFilter *f = &sty_filters[number];
    info->number = (int)HIWORD(f->numberAndName);
    info->nameId = LOWORD(f->numberAndName);
    info->flags = f->flags;
    info->rows = f->run == sty_run_rows;
    info->label1 = HIWORD(f->param1);
    info->label2 = f->param2;
    info->default1 = (int)LOWORD(f->defaults);
    info->default2 = (int)HIWORD(f->defaults);
    return 1;
}
