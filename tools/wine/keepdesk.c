/* keepdesk: holds Wine's virtual desktop open for a test session.
 *
 *   keepdesk [ready-file]
 *
 * Wine closes the desktop (and its explorer process) about a second after
 * the last process using it ends, and the next GUI process then pays about
 * a second to open it again.  Every GUI test runs in its own process, so
 * wine_ci_up starts this program in the background; it attaches to the
 * desktop with one hidden window and waits until the wineserver is stopped.
 *
 * The desktop's explorer is started by whichever process needs it first and
 * inherits that process's standard handles.  If a test started it, ctest
 * would wait on the test's output pipe for as long as we hold the desktop;
 * so the script waits for the ready file, written once our window (and with
 * it the desktop) exists, before it runs any test. */
#include <windows.h>

int main(int argc, char **argv) {
  HWND w = CreateWindowExA(0, "STATIC", "lumacast keepdesk", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
  if (!w) return 1;
  if (argc > 1) {
    HANDLE f = CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  }
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
