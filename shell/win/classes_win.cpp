// Window classes of the program: all with the arrow cursor and the
// application-workspace colour as background.
#include "resource.h"
#include "shell_win.h"

namespace {

struct ClassRow {
  const char *name;
  UINT style;
  int extra_bytes;
  WORD icon; // 0: none
  const char *menu;
  WNDPROC proc;
};

const ClassRow kClasses[] = {
    {LC_FRAME_CLASS, 0, 0, IDI_FRAME, FRAME_MENU_NAME, frame_proc},
    {LC_IMAGE_CLASS, CS_DBLCLKS, LC_IMAGE_EXTRA_BYTES, IDI_IMAGE, NULL, image_window_proc},
    {LC_ABOUT_CLASS, CS_DBLCLKS, 0, IDI_IMAGE, NULL, about_proc},
};

BOOL register_one(HINSTANCE inst, const ClassRow &c) {
  WNDCLASSA wc = {};
  wc.style = c.style;
  wc.lpfnWndProc = c.proc;
  wc.cbWndExtra = c.extra_bytes;
  wc.hInstance = inst;
  wc.hIcon = c.icon ? LoadIconA(inst, MAKEINTRESOURCEA(c.icon)) : NULL;
  wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
  wc.lpszMenuName = c.menu;
  wc.lpszClassName = c.name;
  if (RegisterClassA(&wc)) return TRUE;
  // A second frame in the same process (the tests) finds its classes there.
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

BOOL shell_register_classes(HINSTANCE inst) {
  for (const ClassRow &c : kClasses)
    if (!register_one(inst, c)) return FALSE;
  return TRUE;
}
