// The image record: offsets that may be read from outside, the undo copy
// that must leave every handle with exactly one owner, titles, and the
// close and drop rules.
#include <gtest/gtest.h>

#include <string>

#include "core/save_as.h"
#include "shell/frame/drop_rule.h"
#include "shell/imagewin/close_rule.h"
#include "shell/imagewin/record.h"

TEST(ImageRecord, OnlyWordOffsetsInsideTheRecordAreValid) {
  ImageRecord r;
  record_init_fresh(&r);
  for (DWORD off = 0; off <= 60; off++) EXPECT_EQ(record_offset_valid(off), off <= 56 && off % 4 == 0) << off;
  EXPECT_FALSE(record_offset_valid(0xFFFFFFFCu));
  record_set(&r, 60, 99); // ignored
  record_set(&r, 3, 99);
  EXPECT_EQ(record_get(&r, 60), 0u);
  EXPECT_EQ(record_get(nullptr, IR_FLAGS), 0u);
  EXPECT_EQ(record_flags(&r), (DWORD)IRF_NEW);
  EXPECT_EQ(record_get(&r, IR_FORMAT), (ULONG_PTR)IR_NO_FORMAT);
  record_change_flags(&r, IRF_MODIFIED | IRF_COLOR, 1);
  record_change_flags(&r, IRF_NEW, 0);
  EXPECT_EQ(record_flags(&r), (DWORD)(IRF_MODIFIED | IRF_COLOR));
}

TEST(ImageRecord, TheUndoCopyOwnsNoHandle) {
  long before = compat_global_live_blocks();
  ImageRecord undo = {}, current;
  record_set(&undo, IR_FLAGS, IRF_COLOR | IRF_RASTER);
  record_set(&undo, IR_IMAGE, (ULONG_PTR)GlobalAlloc(GHND, 16));
  record_set(&undo, IR_OWNED_A, (ULONG_PTR)GlobalAlloc(GHND, 16));
  record_set(&undo, IR_OWNED_B, (ULONG_PTR)GlobalAlloc(GHND, 16));
  record_set(&undo, IR_SCREEN_BITMAP, 0x1234);
  record_set(&undo, IR_PALETTE, 0x5678);
  record_set(&undo, IR_DEPTH, 8);
  record_set(&undo, IR_FORMAT, 5);
  record_set(&undo, IR_SCROLL_X, 40);
  record_copy_for_undo(&current, &undo);
  for (int off : {IR_IMAGE, IR_OWNED_A, IR_SCREEN_BITMAP, IR_PALETTE, IR_OWNED_B})
    EXPECT_EQ(record_get(&current, off), 0u) << off;
  for (int off : {IR_FLAGS, IR_DEPTH, IR_FORMAT, IR_SCROLL_X})
    EXPECT_EQ(record_get(&current, off), record_get(&undo, off)) << off;
  // Freeing both records frees each block once.
  RecordHandles a, b;
  record_take_handles(&current, &a);
  record_take_handles(&undo, &b);
  EXPECT_EQ(b.screenBitmap, 0x1234u);
  record_free_blocks(&a);
  record_free_blocks(&b);
  EXPECT_EQ(compat_global_live_blocks(), before);
  EXPECT_EQ(record_get(&undo, IR_OWNED_B), 0u);
}

TEST(ImageRecord, DepthLevels) {
  const DWORD bits[] = {0, 1, 2, 4, 5, 8, 15, 16, 24, 32, 48};
  const int levels[] = {1, 1, 4, 4, 8, 8, 16, 16, 24, 32, 32};
  for (size_t i = 0; i < sizeof bits / sizeof bits[0]; i++) EXPECT_EQ(depth_level_of_bits(bits[i]), levels[i]);
  EXPECT_EQ(depth_level_for_image(16, 24), 16); // the 16-bit level is a 24-bit DIB
  EXPECT_EQ(depth_level_for_image(8, 24), 24);
  EXPECT_EQ(depth_level_for_image(32, 32), 32);
  EXPECT_EQ(depth_level_for_image(24, 8), 8);
}

TEST(ImageRecord, TitlesOfNewWindowsAndExtensionsOfNames) {
  char out[64];
  ASSERT_TRUE(new_window_title("Image", 1, out, sizeof out));
  EXPECT_STREQ(out, "Image1");
  EXPECT_FALSE(new_window_title("Image", 12345, out, 8));
  // The last '.' of the name part, never one of a directory.
  ASSERT_TRUE(save_name_replace_extension("C:\\MY.DIR\\A.GIF", "BMP", out, sizeof out));
  EXPECT_STREQ(out, "C:\\MY.DIR\\A.BMP");
  ASSERT_TRUE(save_name_replace_extension("C:\\MY.DIR\\A.B.GIF", "PCX", out, sizeof out));
  EXPECT_STREQ(out, "C:\\MY.DIR\\A.B.PCX");
  ASSERT_TRUE(save_name_replace_extension("C:\\MY.DIR\\PLAIN", "TIF", out, sizeof out));
  EXPECT_STREQ(out, "C:\\MY.DIR\\PLAIN.TIF");
  ASSERT_TRUE(save_name_replace_extension("Image1", "BMP", out, sizeof out));
  EXPECT_STREQ(out, "Image1.BMP");
  EXPECT_FALSE(save_name_replace_extension("C:\\A.GIF", "BMP", out, 8));
  strcpy(out, "Z:/X.Y/A.GIF"); // in place
  ASSERT_TRUE(save_name_replace_extension(out, "BMP", out, sizeof out));
  EXPECT_STREQ(out, "Z:/X.Y/A.BMP");
}

TEST(CloseRule, WhoIsAskedAndWhatTheAnswerDoes) {
  EXPECT_TRUE(close_needs_question(0, IRF_MODIFIED, 0));
  EXPECT_FALSE(close_needs_question(1, IRF_MODIFIED, 0)); // Shift
  EXPECT_FALSE(close_needs_question(0, IRF_MODIFIED, 1)); // batch run
  EXPECT_FALSE(close_needs_question(0, 0, 0));
  EXPECT_FALSE(close_needs_question(0, IRF_MODIFIED | IRF_WAVE, 0));
  EXPECT_EQ(close_action(6, 1), CLOSE_SAVE);
  EXPECT_EQ(close_action(6, 0), CLOSE_SAVE_AS);
  EXPECT_EQ(close_action(7, 1), CLOSE_DISCARD);
  EXPECT_EQ(close_action(2, 1), CLOSE_KEEP);
}

TEST(DropRule, ManyFailuresOrNoMoreWindowsEndTheDrop) {
  DropRun run;
  drop_begin(&run, 10000);
  int tried = 0;
  while (drop_note(&run, tried % 2 ? DROP_UNSUPPORTED : DROP_OPENED)) tried++;
  EXPECT_EQ(run.failures, (unsigned)DROP_MAX_FAILURES);
  EXPECT_EQ(drop_skipped(&run), 10000u - run.done);
  drop_begin(&run, 3);
  EXPECT_TRUE(drop_note(&run, DROP_OPENED));
  EXPECT_FALSE(drop_note(&run, DROP_NO_WINDOW));
  EXPECT_EQ(drop_skipped(&run), 1u);
}
