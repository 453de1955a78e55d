// The image file types the program opens, registered for it at start.
#include <ctype.h>
#include <stdio.h>

#include "core/catalogue.h"
#include "shell_win.h"
#include "zynlib.h"

namespace {

const char kClassId[] = "{0A6DC900-D3ED-11CE-8C8C-0020AF09FDA7}";

BOOL program_path(char *out, size_t size) {
  int n = g_shell.own_dir[0] ? snprintf(out, size, "%s\\%s", g_shell.own_dir, g_shell.own_file)
                             : snprintf(out, size, "%s", g_shell.own_file);
  return n > 0 && (size_t)n < size && g_shell.own_file[0];
}

BOOL registrable(int index) {
  return catalogue_has_loader(index) && !catalogue_is_plugin(index) && index != catalogue_wildcard_index();
}

} // namespace

void shell_register_file_types(void) {
  char path[LC_PATH_MAX + 2];
  if (!program_path(path, sizeof path)) return;
  HKEY key = NULL;
  if (!ZYN_REG_OpenImageExt(&key, LC_PRODUCT_NAME, path, kClassId, 1)) return;
  for (int i = 0; i < catalogue_count(); i++) {
    char ext[LC_EXT_SIZE];
    if (!registrable(i) || !catalogue_extension(i, ext, sizeof ext)) continue;
    for (char *p = ext; *p; p++) *p = (char)tolower((unsigned char)*p);
    ZYN_REG_SetImageExt(key, ext, LC_PRODUCT_NAME);
  }
  ZYN_REG_CloseExtensions(key);
}
