// The host library's "Stylize" menu in a frame of the test's own process:
// the host bound from this suite's folder (style.dll beside it) or from
// its "nostyle" subfolder, a photo-like picture to filter, settings under
// a company key of the test's own, and helpers to drive the dialog.
#ifndef LC_TEST_STYLIZE_FIXTURE_H
#define LC_TEST_STYLIZE_FIXTURE_H

#include <string>

#include "dialog_script.h"
#include "stylize.h"
#include "stylize_res.h"
#include "viewer_fixture.h"

class StylizeTest : public ViewerTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // Binds IMAGEHOST.DLL of dir (this suite's folder when empty).
  void bind_host(const std::string &dir = "");
  // The frame goes (and the host library with it), a new one comes and
  // binds the host again: the library's next run.
  void restart_host();
  // The "&Stylize" popup and its position in the bar, or null.
  HMENU stylize_popup(int *position = nullptr) const;
  void open_stylize_popup();
  // A window with the photo-like picture (w x h, 24 bits), active.
  HWND open_photo(int w = 96, int h = 72);
  // Sends the command; the steps drive the dialogs it shows.  The number
  // of dialogs that came.
  int command(UINT id, DialogScript &script);

  std::string company_;
};

std::string suite_dir();
// A small landscape: sky, sun, hills, water and a tree, with grain.
HGLOBAL photo_dib(int w, int h);
// The filter as style.dll computes it when called directly.
HGLOBAL direct_filter(const StylizeChoice &c, HGLOBAL dib);
// Header and pixels alike.
bool same_dib(HGLOBAL a, HGLOBAL b);

// The dialog's controls.
void choose_filter(HWND dialog, int n);
void set_value(HWND dialog, int row, int value);
int shown_value(HWND dialog, int row);
int track_value(HWND dialog, int row);
void press(HWND dialog, int id);

#endif
