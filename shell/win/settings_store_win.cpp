// The program's settings kept in the registry through the settings store
// of zynlib: loaded once at start, the changed ones written at the end.
#include <string.h>

#include "shell/settings/settings.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

// The store rewrites value names in place; names go through this copy.
const size_t kNameBuffer = 64;

struct RegistryStore {
  HKEY key;
};
RegistryStore g_registry;

bool copy_name(const char *name, char *out) {
  size_t n = name ? strlen(name) : 0;
  if (n == 0 || n >= kNameBuffer) return false;
  memcpy(out, name, n + 1);
  return true;
}

int registry_open(void *context, const char *product, const char *version, const char *section) {
  RegistryStore *s = static_cast<RegistryStore *>(context);
  s->key = ZYN_REG_OpenSettings(product, version, section);
  return s->key != NULL;
}

int registry_read_int(void *context, const char *name, LONG *value) {
  RegistryStore *s = static_cast<RegistryStore *>(context);
  char buf[kNameBuffer];
  int v = (int)*value;
  if (!copy_name(name, buf) || !ZYN_REG_GetValueInt(s->key, buf, &v)) return 0;
  *value = v;
  return 1;
}

int registry_write_text(void *context, const char *name, const char *text) {
  RegistryStore *s = static_cast<RegistryStore *>(context);
  char buf[kNameBuffer];
  if (!copy_name(name, buf) || !text) return 0;
  return ZYN_REG_SetValueString(s->key, buf, text, (DWORD)strlen(text)) == ERROR_SUCCESS;
}

void registry_close(void *context) {
  RegistryStore *s = static_cast<RegistryStore *>(context);
  ZYN_REG_CloseSettings(s->key);
  s->key = NULL;
}

} // namespace

void shell_settings_use_registry(void) {
  static const SettingsStore store = {&g_registry, registry_open, registry_read_int, registry_write_text,
                                      registry_close};
  settings_set_store(&store);
}

void shell_settings_load(void) {
  shell_settings_use_registry();
  settings_load_all();
}

void shell_settings_store(void) { settings_store_changed(); }
