/* The type list of a file dialog, built from the catalogue, with the
   format code of each line. */
#ifndef LC_FILTER_LIST_H
#define LC_FILTER_LIST_H

#include <windows.h>

struct FilterList {
  char *text;   /* "name\0pattern\0...\0\0" */
  DWORD *codes; /* one per line */
  int count;
};

BOOL filter_list_build(FilterList *list, int for_save);
void filter_list_free(FilterList *list);
/* Catalogue index of the 1-based line, or -1. */
int filter_list_format(const FilterList *list, DWORD line);

#endif
