// What the Stylize dialog needs of style.dll's filter table: the slider
// labels, their defaults and the colour flag.  style.dll exports no table,
// so this copy follows it entry by entry (a test holds the two together).
#include <stdio.h>
#include <string.h>

#include "stylize.h"

namespace {

enum : WORD { AMOUNT = 4176, NUMBER = 4183, COLORS = 4185, ANGLE = 4187, SIZE = 4188, RANDOMNESS = 4189 };

const StylizeFilter kNone = {0, 0, 0, 0, 0};
const StylizeFilter kColor = {0, 0, 0, 0, 1};
const StylizeFilter kBrush = {NUMBER, RANDOMNESS, 128, 128, 1};

const StylizeFilter kFilters[STZ_FILTER_COUNT] = {
    kNone,                            // 0 Color Halftone
    kNone,                            // 1 Crystallize
    kNone,                            // 2 Diffuse
    kNone,                            // 3 WaterColor
    kNone,                            // 4 Extrude
    kNone,                            // 5 Facet
    kColor,                           // 6 Find Edges
    kNone,                            // 7 Fragment
    kNone,                            // 8 Lens Flare
    kNone,                            // 9 Mosaic
    kBrush,                           // 10 Pointillize
    kNone,                            // 11 Solarize
    kNone,                            // 12 Tiles
    kColor,                           // 13 Contours
    {ANGLE, AMOUNT, 0, 128, 0},       // 14 Shake
    kNone,                            // 15 Bricks
    kNone,                            // 16 Bumps
    kNone,                            // 17 Dark Strokes
    kNone,                            // 18 Fresco
    kColor,                           // 19 Stamp
    {ANGLE, 0, 0, 0, 0},              // 20 Motion Blur
    {AMOUNT, 0, 128, 0, 0},           // 21 Center Blur
    kNone,                            // 22 Radial Blur
    kNone,                            // 23 Frazzle
    kNone,                            // 24 Steel Plate
    kNone,                            // 25 Weave
    kNone,                            // 26 Glass
    kBrush,                           // 27 Rain
    kBrush,                           // 28 Triangles
    kBrush,                           // 29 Smudge
    {AMOUNT, 0, 128, 0, 0},           // 30 Reflection
    kNone,                            // 31 Charcoal
    {COLORS, 0, 128, 0, 0},           // 32 Posterize
    {SIZE, 0, 128, 0, 1},             // 33 Sampler
    {SIZE, 0, 255, 0, 1},             // 34 Crosshair
    kNone,                            // 35 Color Pencil
    {NUMBER, RANDOMNESS, 128, 0, 0},  // 36 Bubbles
    kNone,                            // 37 Kaleidoscope
    kNone,                            // 38 Test Filter
};

int clamp(int v, int high) { return v < 0 ? 0 : v > high ? high : v; }

}  // namespace

const StylizeFilter *stylize_filter(int number) {
  return number >= 0 && number < STZ_FILTER_COUNT ? &kFilters[number] : NULL;
}

UINT stylize_name_id(int number) { return number == 38 ? 4175u : 4128u + (UINT)number; }

void stylize_choice_default(StylizeChoice *c, int filter) {
  const StylizeFilter *f = stylize_filter(filter);
  if (!f) f = stylize_filter(filter = 0);
  c->filter = filter;
  c->amount = STZ_FULL_AMOUNT;
  c->p1 = f->default1;
  c->p2 = f->default2;
  c->p3 = 0;
  c->color = RGB(255, 255, 255);
}

void stylize_choice_clamp(StylizeChoice *c) {
  if (!stylize_filter(c->filter)) c->filter = 0;
  c->amount = clamp(c->amount, STZ_FULL_AMOUNT);
  c->p1 = clamp(c->p1, STZ_PARAM_MAX);
  c->p2 = clamp(c->p2, STZ_PARAM_MAX);
  c->p3 = clamp(c->p3, STZ_PARAM_MAX);
  c->color &= 0xFFFFFFu;
}

// "*Lens Flare [XXX]" gives "Lens Flare".
void stylize_plain_name(const char *name, char *out, size_t size) {
  if (!size) return;
  if (*name == '*') name++;
  size_t n = strlen(name);
  const char *mark = strrchr(name, '[');
  if (mark && name[n - 1] == ']') n = (size_t)(mark - name);
  while (n && name[n - 1] == ' ') n--;
  snprintf(out, size, "%.*s", (int)n, name);
}
