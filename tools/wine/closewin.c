/* closewin: a console helper for the Wine scripts.
 *
 *   closewin wait  [ms]   wait until the lumacast frame window exists
 *   closewin menu  [key]  open a popup of its menu bar by its mnemonic (f)
 *   closewin close [ms]   post WM_CLOSE to it and wait for its process to end
 *
 * Exit codes: 0 done (for close: the program ended with exit code 0),
 * 1 no frame window within the time, 2 the program did not end in time,
 * 3 the program ended with a non-zero exit code (printed). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static HWND wait_for_frame(DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = FindWindowA("FrameClass", "Lumacast");
    if (w) return w;
    if (GetTickCount() - start >= ms) return NULL;
    Sleep(50);
  }
}

static int close_frame(HWND w, DWORD ms) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  /* Open the process before asking it to close, so its exit code stays
     readable however fast it ends. */
  HANDLE proc = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  PostMessageA(w, WM_CANCELMODE, 0, 0); /* ends an open menu first */
  PostMessageA(w, WM_CLOSE, 0, 0);
  if (!proc) return 0; /* already gone */
  DWORD r = WaitForSingleObject(proc, ms);
  DWORD code = 0;
  GetExitCodeProcess(proc, &code);
  CloseHandle(proc);
  if (r != WAIT_OBJECT_0) {
    fprintf(stderr, "closewin: lumacast did not end within %lu ms\n", (unsigned long)ms);
    return 2;
  }
  printf("lumacast exited with code %lu\n", (unsigned long)code);
  return code == 0 ? 0 : 3;
}

int main(int argc, char **argv) {
  const char *mode = argc > 1 ? argv[1] : "close";
  if (strcmp(mode, "menu") == 0) {
    HWND frame = wait_for_frame(2000);
    if (!frame) return 1;
    /* The keyboard route to the menu bar, as Alt+key would take it. */
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, argc > 2 ? argv[2][0] : 'f');
    return 0;
  }
  DWORD ms = argc > 2 ? (DWORD)strtoul(argv[2], NULL, 10) : 10000;
  HWND w = wait_for_frame(strcmp(mode, "wait") == 0 ? ms : 2000);
  if (!w) {
    fprintf(stderr, "closewin: no FrameClass \"Lumacast\" window\n");
    return 1;
  }
  if (strcmp(mode, "wait") == 0) return 0;
  return close_frame(w, ms);
}
