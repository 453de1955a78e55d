// Host messages that need no image window, and the engine's catalogue
// queries when the engine is linked in.
#include <cstdlib>
#include <cstring>

#include "frame_fixture.h"

#include "core/batch_state.h"

namespace {

// Host blocks carry addresses; keep them in ordinary heap memory.
HostParamBlock *new_block() { return (HostParamBlock *)calloc(1, sizeof(HostParamBlock)); }

} // namespace

TEST_F(FrameTest, HostInterfaceVersion) { EXPECT_EQ(host(20), (LRESULT)0x0101010A); }

TEST_F(FrameTest, HostMdiClient) { EXPECT_EQ((HWND)host(30), st_.client); }

TEST_F(FrameTest, HostProductNameGoesToFields2And5) {
  HostParamBlock *b = new_block();
  char *a = (char *)calloc(32, 1), *c = (char *)calloc(32, 1);
  b->field[HPB_PATH] = (ULONG_PTR)a;
  b->field[HPB_RECORD] = (ULONG_PTR)c;
  EXPECT_EQ(host(56, b), (LRESULT)0x10010332);
  EXPECT_STREQ(a, "Lumacast");
  EXPECT_STREQ(c, "Lumacast");
  // Null fields are skipped.
  b->field[HPB_PATH] = b->field[HPB_RECORD] = 0;
  EXPECT_EQ(host(56, b), (LRESULT)0x10010332);
  free(a);
  free(c);
  free(b);
}

TEST_F(FrameTest, HostAnswersZeroWithoutAction) {
  HostParamBlock *b = new_block();
  for (UINT n : {13u, 45u, 46u, 57u}) EXPECT_EQ(host(n, b), 0) << n;
  free(b);
}

TEST_F(FrameTest, HostActiveWindowAndImageWindowTest) {
  EXPECT_EQ((HWND)host(33), nullptr);
  HWND w = add_image_window(IRF_COLOR, 0x1000, 8);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ((HWND)host(33), w);
  HostParamBlock *b = new_block();
  b->field[HPB_WINDOW] = (ULONG_PTR)w;
  EXPECT_EQ(host(65, b), 1);
  b->field[HPB_WINDOW] = (ULONG_PTR)frame_;
  EXPECT_EQ(host(65, b), 0);
  b->field[HPB_WINDOW] = 0;
  EXPECT_EQ(host(65, b), 0);
  free(b);
}

TEST_F(FrameTest, HostBatchFlags) {
  HostParamBlock *b = new_block();
  EXPECT_EQ(host(32), 0);
  // A run that imagehost drives is unattended and has a session number of
  // its own, which kojpeg compares to show its sheet once per run.
  LRESULT session = host(42);
  b->field[HPB_COLOR] = 1;
  host(71, b);
  EXPECT_EQ(host(32), 1);
  EXPECT_TRUE(batch_unattended());
  EXPECT_EQ(host(42), (session + 1) & 0xFFFF);
  b->field[HPB_COLOR] = 0;
  host(71, b);
  EXPECT_EQ(host(32), 0);
  EXPECT_FALSE(batch_unattended());
  EXPECT_EQ(host(42), (session + 1) & 0xFFFF);
  free(b);
}

TEST_F(FrameTest, HostEveryWindowAgreesWithoutImageWindows) { EXPECT_EQ(host(54), 1); }

TEST_F(FrameTest, HostOwnDirectoryNeedsStartup) {
  // The test did not run start-up, so there is no own directory to go to.
  char saved = g_shell.own_dir[0];
  g_shell.own_dir[0] = '\0';
  EXPECT_EQ(host(67), 0);
  g_shell.own_dir[0] = saved;
}

TEST_F(FrameTest, HostCatalogueQueriesReachTheEngine) {
  HostParamBlock *b = new_block();
  // Index -> code -> index round trip over the whole catalogue.
  int count = 0;
  for (DWORD i = 0; i < 200; ++i) {
    b->field[HPB_INDEX] = i;
    DWORD code = (DWORD)host(40, b);
    if (!code) break;
    b->field[HPB_CODE] = code;
    EXPECT_EQ((DWORD)host(39, b), i) << "code " << code;
    ++count;
  }
  EXPECT_GT(count, 20);
  // Detection by extension, and its loader.
  char *path = (char *)calloc(64, 1);
  strcpy(path, "C:\\pictures\\sample.bmp");
  b->field[HPB_PATH] = (ULONG_PTR)path;
  LRESULT bmp = host(58, b);
  EXPECT_NE(bmp, (LRESULT)(DWORD)-1);
  EXPECT_GE((int)bmp, 0);
  b->field[HPB_INDEX] = (ULONG_PTR)bmp;
  EXPECT_EQ(host(59, b), 1);
  strcpy(path, "C:\\pictures\\sample.nosuchext");
  EXPECT_EQ((DWORD)host(58, b), (DWORD)-1);
  // Open filter: the count alone, both outputs null.
  b->field[HPB_ARG8] = b->field[HPB_ARG9] = 0;
  EXPECT_GT(host(51, b), 0);
  free(path);
  free(b);
}
