// Image windows in a frame of the test's own process: the demo test cards
// the build draws, a scratch folder for saved files, and settings at their
// defaults.
#ifndef LC_TEST_VIEWER_FIXTURE_H
#define LC_TEST_VIEWER_FIXTURE_H

#include <string>

#include "frame_fixture.h"

class ViewerTest : public FrameTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // A demo card ("card24.bmp", ...) as a full Windows path.
  static std::string card(const char *name);
  // A file in the scratch folder.
  std::string scratch(const char *name) const;
  // Opens a file as a drop or the command line does: detected format.
  HWND open_file(const std::string &path);
  int child_count() const;
  ImageRecord *record(HWND w, int slot = IMAGE_SLOT_RECORD) const { return image_record(w, slot); }

  std::string scratch_;
};

// The pixels of a file loaded back with its detected format, or null.
HGLOBAL load_back(const std::string &path);
std::string title_of(HWND w);
// The catalogue index of an extension ("BMP").
int format_of_extension(const char *ext);

#endif
