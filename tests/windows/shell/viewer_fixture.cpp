#include "viewer_fixture.h"

#include "test_paths.h"

#include <stdio.h>

#include "core/batch_state.h"
#include "core/catalogue.h"
#include "core/pipeline.h"
#include "shell/settings/settings.h"

namespace {

BOOL remove_tree(const std::string &dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (fd.cFileName[0] != '.') DeleteFileA((dir + "\\" + fd.cFileName).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryA(dir.c_str());
}

} // namespace

void ViewerTest::SetUp() {
  FrameTest::SetUp();
  settings_reset_defaults();
  batch_set_running(0);
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  char dir[MAX_PATH];
  snprintf(dir, sizeof dir, "%slcviewer%lu_%lu", temp, GetCurrentProcessId(), GetTickCount());
  CreateDirectoryA(dir, NULL);
  scratch_ = dir;
}

void ViewerTest::TearDown() {
  FrameTest::TearDown();
  remove_tree(scratch_);
}

std::string ViewerTest::card(const char *name) { return windows_path(std::string(LC_DEMO_DIR) + "/" + name); }

std::string ViewerTest::scratch(const char *name) const { return scratch_ + "\\" + name; }

HWND ViewerTest::open_file(const std::string &path) {
  int index = detect_format(path.c_str());
  if (index < 0) return NULL;
  catalogue_set_current_load(index);
  return image_window_create(path.c_str(), FALSE);
}

int ViewerTest::child_count() const {
  int n = 0;
  for (HWND c = GetWindow(st_.client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (!GetWindow(c, GW_OWNER)) n++;
  return n;
}

HGLOBAL load_back(const std::string &path) {
  char p[MAX_PATH];
  lstrcpynA(p, path.c_str(), sizeof p);
  int saved = catalogue_current_load();
  catalogue_set_current_load(catalogue_wildcard_index());
  HGLOBAL dib = NULL;
  if (!LoadFile(p, &dib)) dib = NULL;
  catalogue_set_current_load(saved);
  return dib;
}

std::string title_of(HWND w) {
  char t[MAX_PATH + 64] = "";
  GetWindowTextA(w, t, sizeof t);
  return t;
}

int format_of_extension(const char *ext) {
  char e[LC_EXT_SIZE];
  for (int i = 0; i < catalogue_count(); i++)
    if (catalogue_extension(i, e, sizeof e) && !lstrcmpiA(e, ext)) return i;
  return -1;
}
