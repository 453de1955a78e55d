// The command line, the start-up command, and the hand-over block that a
// second copy writes and the running copy reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/startup/command_line.h"
#include "shell/startup/handover.h"

namespace {

struct Parsed {
  int flags;
  std::string file; // "<none>" when there is none
};

Parsed parse(const char *text) {
  std::vector<char> buf(text, text + strlen(text) + 1);
  CommandLine cl;
  command_line_parse(buf.data(), &cl);
  return {cl.flags, cl.file ? std::string(cl.file) : "<none>"};
}

} // namespace

TEST(CommandLine, FlagsAndTheFileNameAsTheRestOfTheLine) {
  EXPECT_EQ(parse("/NOLOGO c:\\pics\\a.bmp").file, "C:\\PICS\\A.BMP");
  EXPECT_EQ(parse("/NOLOGO c:\\pics\\a.bmp").flags, CL_NOLOGO);
  // Load wins over batch; options only give no file.
  EXPECT_EQ(parse("/load /batch").flags, CL_LOAD);
  EXPECT_EQ(parse("/load /batch").file, "<none>");
  EXPECT_EQ(parse("/BATCH").flags, CL_BATCH);
  // Blanks and later "/" words belong to the name.
  EXPECT_EQ(parse("/NOLOGO my pictures\\x y.gif /z").file, "MY PICTURES\\X Y.GIF /Z");
  // A shell's quotes come off; trailing blanks go.
  EXPECT_EQ(parse("\"c:\\my pics\\a.bmp\"  ").file, "C:\\MY PICS\\A.BMP");
  EXPECT_EQ(parse("   ").file, "<none>");
  CommandLine cl;
  command_line_parse(nullptr, &cl);
  EXPECT_EQ(cl.flags, 0);
  EXPECT_EQ(cl.file, nullptr);
}

TEST(CommandLine, AThousandCharacterNameIsTakenWhole) {
  std::string text = "/NOLOGO " + std::string(1000, 'a');
  EXPECT_EQ(parse(text.c_str()).file.size(), 1000u);
}

TEST(CommandLine, StartupCommandAndLogoDelay) {
  EXPECT_EQ(startup_command(CL_LOAD, 2), 257u); // the setting is not consulted
  EXPECT_EQ(startup_command(CL_BATCH, 1), 260u);
  EXPECT_EQ(startup_command(CL_NOLOGO, 1), 257u);
  EXPECT_EQ(startup_command(0, 2), 260u);
  EXPECT_EQ(startup_command(0, 0), 0u);
  EXPECT_EQ(startup_command(0, 7), 0u);
  CommandLine with = {0, "A.BMP"}, without = {0, nullptr};
  EXPECT_EQ(logo_delay(&with), 0u);
  EXPECT_EQ(logo_delay(&without), 10000u);
}

TEST(HandOver, TheBlockCarriesThePathAndDetection) {
  BYTE block[HANDOVER_SIZE] = {};
  ASSERT_TRUE(handover_encode(block, sizeof block, "C:\\A\\B.BMP", 0x12345678));
  EXPECT_EQ(block[HO_CODE], 0xFF);
  EXPECT_EQ(block[HO_CODE + 3], 0xFF);
  EXPECT_EQ(block[HO_ADDRESS], 0x78);
  EXPECT_EQ(block[HO_ADDRESS + 3], 0x12);
  EXPECT_STREQ((const char *)block + HO_PATH, "C:\\A\\B.BMP");
  char path[HANDOVER_PATH_MAX];
  DWORD code = 0;
  ASSERT_TRUE(handover_decode(block, sizeof block, path, sizeof path, &code));
  EXPECT_STREQ(path, "C:\\A\\B.BMP");
  EXPECT_EQ(code, 0xFFFFFFFFu);
  handover_write_result(block, sizeof block, 7, 0xAABBCCDD);
  EXPECT_EQ(block[HO_INDEX], 7);
  EXPECT_EQ(block[HO_ADDRESS], 0xDD);
}

TEST(HandOver, HostileBlocksAndLongPathsAreRefused) {
  BYTE block[HANDOVER_SIZE];
  memset(block, 'A', sizeof block); // no terminating NUL anywhere
  char path[HANDOVER_PATH_MAX];
  DWORD code;
  EXPECT_FALSE(handover_decode(block, sizeof block, path, sizeof path, &code));
  // A NUL past the longest path the program takes does not make it one.
  block[HO_PATH + HANDOVER_PATH_MAX] = 0;
  EXPECT_FALSE(handover_decode(block, sizeof block, path, sizeof path, &code));
  block[HO_PATH + HANDOVER_PATH_MAX - 1] = 0; // 259 characters: fits
  EXPECT_TRUE(handover_decode(block, sizeof block, path, sizeof path, &code));
  EXPECT_EQ(strlen(path), (size_t)HANDOVER_PATH_MAX - 1);
  block[HO_PATH] = 0; // empty
  EXPECT_FALSE(handover_decode(block, sizeof block, path, sizeof path, &code));
  EXPECT_FALSE(handover_decode(block, HO_PATH, path, sizeof path, &code)); // no room for a path
  std::string long_path(1000, 'x');
  memset(block, 0x5A, sizeof block);
  EXPECT_FALSE(handover_encode(block, sizeof block, long_path.c_str(), 0));
  EXPECT_EQ(block[HO_CODE], 0x5A); // untouched
  EXPECT_FALSE(handover_encode(block, sizeof block, "", 0));
}
