/* Menu enabling of the frame: what the active image window allows. */
#ifndef LUMACAST_FRAME_MENU_WIN_H
#define LUMACAST_FRAME_MENU_WIN_H

#include <windows.h>

/* What the enabling rules need to know about the active image window. */
struct ActiveInfo {
  BOOL has_window; /* an active image window exists (media or not) */
  BOOL is_media;   /* movie, wave or MIDI window */
  BOOL has_image;  /* the window holds an image */
  BOOL has_undo;   /* its undo record holds an image */
  BOOL color;      /* color flag of the window */
  int depth;       /* bits per pixel the user sees */
};

void active_info_get(HWND active, ActiveInfo *info);

void menu_enable_file(HMENU file, const ActiveInfo *a);
void menu_enable_edit(HMENU edit, const ActiveInfo *a);
void menu_enable_colors(HMENU colors, const ActiveInfo *a);
void menu_enable_window(HMENU window);

#endif
