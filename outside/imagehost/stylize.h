/* The host library's built-in "Stylize" menu: the filters of style.dll
   (found beside the library, bound by name) run on the active image
   window through the host requests, as a plug-in would run them. */
#ifndef LC_STYLIZE_H
#define LC_STYLIZE_H

#include <windows.h>

/* Command ids: a small range of its own, above the plug-ins' ids. */
#define STZ_FIRST_ID 0x6000u
#define STZ_LAST_ID 0x60FFu
#define STZ_ID_FILTER (STZ_FIRST_ID + 0)
#define STZ_ID_REPEAT (STZ_FIRST_ID + 1)

#define STZ_FILTER_COUNT 39
#define STZ_FULL_AMOUNT 16384
#define STZ_PARAM_MAX 255

/* What a filter takes, as style.dll's filter table has it; label ids are
   strings of style.dll. */
typedef struct StylizeFilter {
  WORD label1, label2; /* 0: the filter has no such slider */
  BYTE default1, default2;
  BYTE color; /* the filter uses the colour argument */
} StylizeFilter;

/* The values a filter runs with. */
typedef struct StylizeChoice {
  int filter;     /* 0 .. 38 */
  int amount;     /* 0 .. 16384 */
  int p1, p2, p3; /* 0 .. 255 */
  COLORREF color; /* red in the low byte, as STY_CallFilter takes it */
} StylizeChoice;

/* stylize_filters.cpp */
const StylizeFilter *stylize_filter(int number); /* null past the table */
UINT stylize_name_id(int number);
/* Full amount, the filter's defaults, p3 0, white. */
void stylize_choice_default(StylizeChoice *c, int filter);
/* Any value out of range (a damaged setting) is brought back into it. */
void stylize_choice_clamp(StylizeChoice *c);
/* The name without the table's "*" and "[...]" marks, for the menu. */
void stylize_plain_name(const char *name, char *out, size_t size);

/* stylize_menu_win.cpp: the hooks the host library calls. */
void stylize_start(void);
void stylize_stop(void);
BOOL stylize_command(UINT id);
BOOL stylize_menu_popup(HMENU menu);
BOOL stylize_help(UINT id, UINT flags);
void stylize_activate(HWND w, BOOL activating);

/* stylize_dialog_win.cpp: TRUE on OK, with *c changed. */
BOOL stylize_dialog_run(HWND owner, HMODULE style, StylizeChoice *c);
/* A filter's name as style.dll's strings give it. */
void stylize_filter_name(HMODULE style, int number, char *out, int size);
/* One of the host library's own strings. */
void stylize_text(UINT id, char *out, int size);

/* stylize_settings_win.cpp: section "Stylize" of the program's key. */
void stylize_settings_load(StylizeChoice *c);
void stylize_settings_store(const StylizeChoice *c);

#endif
