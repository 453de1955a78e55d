// The one-copy rule: a second copy hands its file to the running frame
// through the shared memory "CoreMemObject" and host message 31.
#include <string.h>

#include "core/files.h"
#include "core/host_messages.h"
#include "core/messages.h"
#include "lumacast_strings.h"
#include "shell/startup/handover.h"
#include "shell_win.h"

namespace {

// Two second copies starting together must not write the block at once.
const char kHandOverLock[] = "LumacastHandOverLock";
// A running copy that opens a large file, or shows a message about it,
// answers late; one that does not answer at all must not hang this copy.
const UINT kHandOverTimeoutMs = 60000;

// The block's own messages carry no caption, as the system shows them.
void plain_error(const char *text) { MessageBoxA(NULL, text, NULL, MB_OK | MB_ICONEXCLAMATION); }

struct Mapping {
  HANDLE handle;
  BYTE *view;
};

BOOL map_block(Mapping *m) {
  m->handle = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, HANDOVER_SIZE, HANDOVER_NAME);
  if (!m->handle) {
    plain_error("Cannot create file mapping");
    return FALSE;
  }
  m->view = (BYTE *)MapViewOfFile(m->handle, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, HANDOVER_SIZE);
  if (!m->view) {
    plain_error("Cannot map view of file");
    CloseHandle(m->handle);
    return FALSE;
  }
  return TRUE;
}

void unmap_block(Mapping *m) {
  UnmapViewOfFile(m->view);
  CloseHandle(m->handle);
}

// The file-existence query completes the name; a file that is not there
// is reported here rather than silently dropped by the running copy.
BOOL full_path_of(const char *name, char *out, size_t size) {
  if (strlen(name) >= LC_PATH_MAX) {
    lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    return FALSE;
  }
  if (!lc_full_path(name, out, size)) {
    lc_message(MSG_ERROR, IDS_LOAD_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

} // namespace

HWND shell_find_running_copy(void) { return FindWindowA(LC_FRAME_CLASS, LC_FRAME_TITLE); }

BOOL shell_hand_over(HWND running, const char *name) {
  char path[LC_PATH_MAX];
  if (!full_path_of(name, path, sizeof path)) return FALSE;
  HANDLE lock = CreateMutexA(NULL, FALSE, kHandOverLock);
  if (lock) WaitForSingleObject(lock, kHandOverTimeoutMs);
  Mapping m;
  BOOL ok = map_block(&m);
  if (ok) {
    ok = handover_encode(m.view, HANDOVER_SIZE, path, (DWORD)(ULONG_PTR)(m.view + HO_PATH));
    if (!ok) {
      lc_message(MSG_ERROR, IDS_PATH_TOO_LONG);
    } else {
      FlushViewOfFile(m.view, HANDOVER_SIZE);
      DWORD_PTR result = 0;
      SendMessageTimeoutA(running, HM_OPEN_WINDOW, 0, 0, SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &result);
    }
    unmap_block(&m);
  }
  if (lock) {
    ReleaseMutex(lock);
    CloseHandle(lock);
  }
  return ok;
}

// The path is copied out of the view before anything else happens, so a
// sender that gives up waiting can close its mapping at any time.
LRESULT shell_receive_hand_over(void) {
  Mapping m;
  if (!map_block(&m)) return 0;
  HostParamBlock block = {};
  char path[HANDOVER_PATH_MAX];
  DWORD code = HPB_NO_CODE;
  LRESULT window = 0;
  if (handover_decode(m.view, HANDOVER_SIZE, path, sizeof path, &code)) {
    block.field[HPB_PATH] = (ULONG_PTR)path;
    block.field[HPB_CODE] = code;
    block.field[HPB_INDEX] = HPB_NO_CODE;
    window = hm_open_window(&block);
    handover_write_result(m.view, HANDOVER_SIZE, (DWORD)block.field[HPB_INDEX],
                          (DWORD)(ULONG_PTR)(m.view + HO_PATH));
  }
  unmap_block(&m);
  if (window) SetForegroundWindow(g_shell.frame);
  return window;
}
