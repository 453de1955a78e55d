#include "shell/filedlg/filter_list.h"

#include <stdlib.h>

#include "core/catalogue.h"

BOOL filter_list_build(FilterList *list, int for_save) {
  size_t bytes = catalogue_filter_bytes(for_save);
  size_t slots = (size_t)catalogue_count() + 1;
  list->text = (char *)calloc(bytes + 1, 1);
  list->codes = (DWORD *)calloc(slots, sizeof(DWORD));
  if (!list->text || !list->codes) {
    filter_list_free(list);
    return FALSE;
  }
  list->count = catalogue_build_filter(for_save, list->text, bytes + 1, list->codes, slots);
  return list->count > 0;
}

void filter_list_free(FilterList *list) {
  free(list->text);
  free(list->codes);
  list->text = NULL;
  list->codes = NULL;
  list->count = 0;
}

int filter_list_format(const FilterList *list, DWORD line) {
  if (line < 1 || (int)line > list->count) return -1;
  return catalogue_index_of_code(list->codes[line - 1]);
}
