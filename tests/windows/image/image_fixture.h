// The image plug-in in a frame of the test's own process: IMAGEHOST.DLL
// bound from this suite's folder (image.dll beside it), pictures to work
// on, settings under a company key of the test's own, and the "Image"
// menu's commands run as a click would.
#ifndef LC_TEST_IMAGE_FIXTURE_H
#define LC_TEST_IMAGE_FIXTURE_H

#include <string>

#include "dialog_script.h"
#include "image_ops.h"
#include "image_res.h"
#include "viewer_fixture.h"

enum ImageEntry { E_INVERT, E_FLIP, E_MIRROR, E_SEPARATOR, E_CROP, E_SCALE, E_ROTATE, E_FRAME, E_TILE, E_MASK };

class ImageTest : public ViewerTest {
protected:
  void SetUp() override;
  void TearDown() override;

  void bind_host();
  // The frame goes (and the host library with it), a new one binds again.
  void restart_host();
  HMENU image_popup(int *position = nullptr) const;
  void open_image_popup();
  UINT id_of(ImageEntry e) const;
  // A window holding the picture, active.
  HWND open_picture(HGLOBAL dib, const char *title = "Picture");
  // Runs a menu entry; the script drives its dialogs.  The steps run.
  int run(ImageEntry e, DialogScript &script);
  int run(ImageEntry e);
  // Edit Undo on the active window.
  void undo();

  std::string company_;
};

std::string suite_dir();
// A picture: a gradient with bars at 24 and 32 bits, an index pattern
// under a colorful (or gray) table below.
HGLOBAL picture(int w, int h, int bits, bool grayTable = false);
// Same size, depth, table and significant pixel bits (padding aside).
bool same_pixels(HGLOBAL a, HGLOBAL b);
BITMAPINFOHEADER header_of(HGLOBAL dib);
// The window's image before the last change.
HGLOBAL undo_image_of(HWND w);

// Dialog helpers.
void set_text(HWND dialog, int id, const char *text);
std::string text_of(HWND dialog, int id);
void press(HWND dialog, int id);
void choose_combo(HWND dialog, int id, int item);
// Every "&x" of the dialog's controls is a different letter; OK is the
// default button.
void expect_polished(HWND dialog);

#endif
