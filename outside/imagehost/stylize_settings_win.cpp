// The Stylize dialog's values in section "Stylize" of the program's
// settings key (product and version as the program tells them).
#include <string.h>

#include "imagehost_internal.h"
#include "stylize.h"
#include "zynlib.h"

namespace {

const char kSection[] = "Stylize";

HKEY open_section(void) {
  char product[64], version[64];
  rq_get_settings_key(&g_ih.link, product, version);
  if (!product[0]) return NULL;
  return ZYN_REG_OpenSettings(product, version, kSection);
}

// The store rewrites a value's name in place: each call gets a fresh copy.
struct Name {
  char text[32];
  explicit Name(const char *n) { lstrcpynA(text, n, sizeof text); }
};

void read_int(HKEY key, const char *name, int *value) { ZYN_REG_GetValueInt(key, Name(name).text, value); }
void write_int(HKEY key, const char *name, int value) { ZYN_REG_SetValueInt(key, Name(name).text, value); }

} // namespace

void stylize_settings_load(StylizeChoice *c) {
  stylize_choice_default(c, 0);
  HKEY key = open_section();
  if (!key) return;
  int filter = c->filter;
  read_int(key, "filter", &filter);
  stylize_choice_default(c, stylize_filter(filter) ? filter : 0);
  read_int(key, "amount", &c->amount);
  read_int(key, "p1", &c->p1);
  read_int(key, "p2", &c->p2);
  read_int(key, "p3", &c->p3);
  DWORD color = c->color;
  ZYN_REG_GetValueLHex(key, Name("color").text, &color);
  c->color = color;
  ZYN_REG_CloseSettings(key);
  stylize_choice_clamp(c);
}

void stylize_settings_store(const StylizeChoice *c) {
  HKEY key = open_section();
  if (!key) return;
  write_int(key, "filter", c->filter);
  write_int(key, "amount", c->amount);
  write_int(key, "p1", c->p1);
  write_int(key, "p2", c->p2);
  write_int(key, "p3", c->p3);
  ZYN_REG_SetValueLHex(key, Name("color").text, c->color);
  ZYN_REG_CloseSettings(key);
}
