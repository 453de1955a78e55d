// lumacast.exe end to end, from a process of its own: start-up with a file,
// the logo, the one-copy rule and its hand-over (also a hostile block),
// the host library missing or broken, and exit code 0 at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "screenshot.h"
#include "test_paths.h"
#include "shell/imagewin/record.h"

namespace {

std::string program_path() { return windows_path(LC_LUMACAST_EXE); }
std::string bin_dir() {
  std::string p = program_path();
  return p.substr(0, p.rfind('\\'));
}
std::string card(const char *name) { return windows_path(std::string(LC_DEMO_DIR) + "/" + name); }

std::string upper(std::string s) {
  for (char &c : s) c = (char)toupper((unsigned char)c);
  return s;
}

std::string text_of(HWND w) {
  char t[600] = "";
  GetWindowTextA(w, t, sizeof t);
  return t;
}

struct Found {
  DWORD pid;
  const char *cls;
  const char *title; // null: any
  HWND w;
};

BOOL CALLBACK find_top(HWND w, LPARAM lp) {
  Found *f = (Found *)lp;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (pid == f->pid && !strcmp(cls, f->cls) && (!f->title || text_of(w) == f->title) && IsWindowVisible(w)) {
    f->w = w;
    return FALSE;
  }
  return TRUE;
}

// A running lumacast.exe (or a copy in another folder).
class Program {
public:
  explicit Program(const std::string &args, const std::string &exe = program_path()) {
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string dir = exe.substr(0, exe.rfind('\\'));
    started_ = CreateProcessA(exe.c_str(), &cmd[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &si, &pi_) != 0;
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      if (HWND f = window("FrameClass", "Lumacast", 0)) PostMessageA(f, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(pi_.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool started() const { return started_; }
  HANDLE process() const { return pi_.hProcess; }

  // A top-level window of this process, waited for up to ms.
  HWND window(const char *cls, const char *title, DWORD ms) const {
    DWORD start = GetTickCount();
    do {
      Found f = {pi_.dwProcessId, cls, title, NULL};
      EnumWindows(find_top, (LPARAM)&f);
      if (f.w) return f.w;
      if (WaitForSingleObject(pi_.hProcess, 30) == WAIT_OBJECT_0) return NULL;
    } while (GetTickCount() - start < ms);
    return NULL;
  }
  HWND frame(DWORD ms = 30000) const { return window("FrameClass", "Lumacast", ms); }

  DWORD exit_code(DWORD ms = 15000) const {
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return 12345;
    DWORD code = 12345;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

private:
  PROCESS_INFORMATION pi_ = {};
  bool started_ = false;
};

std::vector<HWND> image_windows(HWND frame) {
  std::vector<HWND> out;
  HWND client = GetDlgItem(frame, ID_MDICLIENT);
  for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = "";
    GetClassNameA(c, cls, sizeof cls);
    if (!strcmp(cls, "GenericWClass")) out.push_back(c);
  }
  return out;
}

std::vector<HWND> wait_for_images(HWND frame, size_t n, DWORD ms = 15000) {
  DWORD start = GetTickCount();
  std::vector<HWND> w;
  while ((w = image_windows(frame)).size() < n && GetTickCount() - start < ms) Sleep(30);
  return w;
}

// The image record of a window in the program's address space.
bool read_record(const Program &p, HWND w, ImageRecord *out) {
  LONG_PTR at = GetWindowLongPtrA(w, 0);
  SIZE_T got = 0;
  return at && ReadProcessMemory(p.process(), (LPCVOID)at, out, sizeof *out, &got) && got == sizeof *out;
}

// The text of a message box the program shows, which is then answered.
std::string answer_box(const Program &p, int button) {
  HWND box = p.window("#32770", NULL, 15000);
  if (!box) return "<no box>";
  std::string text = text_of(GetDlgItem(box, 0xFFFF));
  PostMessageA(box, WM_COMMAND, button, 0);
  return text;
}

bool copy_into(const std::string &dir, const char *file, const char *as = nullptr) {
  std::string from = bin_dir() + "\\" + file;
  if (GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES) from = windows_path(LC_PLUGTEST_DIR) + "\\" + file;
  return CopyFileA(from.c_str(), (dir + "\\" + (as ? as : file)).c_str(), FALSE) != 0;
}

// The program and its libraries in a folder of their own.
std::string program_folder(const char *name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string dir = std::string(temp) + name;
  CreateDirectoryA(dir.c_str(), NULL);
  for (const char *f : {"lumacast.exe", "zynlib.dll", "kojpeg.dll", "TAVN13.DLL", "testops.dll"}) copy_into(dir, f);
  DeleteFileA((dir + "\\IMAGEHOST.DLL").c_str());
  return dir;
}

} // namespace

TEST(Program, ClosingTheFrameOrFileExitEndsWithExitCodeZero) {
  {
    Program p("/NOLOGO");
    HWND f = p.frame();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(IsWindowVisible(f));
    HWND client = GetDlgItem(f, ID_MDICLIENT);
    ASSERT_NE(client, nullptr);
    // Host messages without a block are answered across processes.
    EXPECT_EQ(SendMessageA(f, 0x1634 + 20, 0, 0), (LRESULT)0x0101010A);
    EXPECT_EQ((HWND)SendMessageA(f, 0x1634 + 30, 0, 0), client);
    PostMessageA(f, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.exit_code(), 0u);
  }
  Program p("/NOLOGO");
  HWND f = p.frame();
  ASSERT_NE(f, nullptr);
  PostMessageA(f, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(p.exit_code(), 0u);
}

TEST(Program, TheCommandLineFileOpensInAWindowWithItsRecord) {
  Program p("/NOLOGO " + card("card8.bmp"));
  HWND f = p.frame();
  ASSERT_NE(f, nullptr);
  std::vector<HWND> w = wait_for_images(f, 1);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(text_of(w[0]), upper(card("card8.bmp"))); // the command line is taken in upper case
  // The window is listed while it is still being made: wait for its format.
  ImageRecord r;
  DWORD start = GetTickCount();
  do ASSERT_TRUE(read_record(p, w[0], &r));
  while ((DWORD)record_get(&r, IR_FORMAT) == IR_NO_FORMAT && GetTickCount() - start < 5000);
  EXPECT_EQ(record_get(&r, IR_DEPTH), 8u);
  EXPECT_TRUE(record_flags(&r) & IRF_RASTER);
  EXPECT_FALSE(record_flags(&r) & (IRF_MODIFIED | IRF_NEW));
  EXPECT_NE(record_get(&r, IR_IMAGE), 0u);
  EXPECT_NE(record_get(&r, IR_PALETTE), 0u);
  PostMessageA(f, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.exit_code(), 0u);
}

TEST(Program, ASecondCopyHandsItsFileOverOrSaysThatOneIsEnough) {
  Program first("/NOLOGO " + card("card24.bmp"));
  HWND f = first.frame();
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(wait_for_images(f, 1).size(), 1u);
  {
    Program second(card("card8.bmp"));
    EXPECT_EQ(second.exit_code(30000), 0u);
  }
  std::vector<HWND> w = wait_for_images(f, 2);
  EXPECT_EQ(w.size(), 2u);
  SendMessageA(GetDlgItem(f, ID_MDICLIENT), WM_MDITILE, 0, 0);
  save_screenshot(f, "program-after-hand-over");
  {
    Program second("");
    EXPECT_EQ(answer_box(second, IDOK), "Only one copy of Lumacast may be run at a time");
    EXPECT_EQ(second.exit_code(), 0u);
  }
  {
    // A name longer than any path is refused by the second copy itself.
    Program second("/NOLOGO " + std::string(1000, 'p') + ".bmp");
    EXPECT_EQ(answer_box(second, IDOK), "The file name is too long: a path may have at most 259 characters");
    EXPECT_EQ(second.exit_code(), 0u);
  }
  {
    Program second("C:\\no\\such\\file.bmp");
    EXPECT_EQ(answer_box(second, IDOK), "Cannot load, file does not exist");
    EXPECT_EQ(second.exit_code(), 0u);
  }
  EXPECT_EQ(image_windows(f).size(), 2u);
  PostMessageA(f, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.exit_code(), 0u);
}

TEST(Program, AHostileHandOverBlockIsRefusedWithoutHarm) {
  Program p("/NOLOGO");
  HWND f = p.frame();
  ASSERT_NE(f, nullptr);
  HANDLE m = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 1024, "CoreMemObject");
  ASSERT_NE(m, nullptr);
  BYTE *view = (BYTE *)MapViewOfFile(m, FILE_MAP_WRITE, 0, 0, 1024);
  ASSERT_NE(view, nullptr);
  DWORD_PTR result = 1;
  memset(view, 'A', 1024); // no NUL anywhere
  ASSERT_TRUE(SendMessageTimeoutA(f, 0x1653, 0, 0, SMTO_ABORTIFHUNG, 10000, &result));
  EXPECT_EQ(result, 0u);
  memset(view, 0, 1024);
  strcpy((char *)view + 56, "C:\\not\\there.bmp"); // a file that does not exist is ignored
  memset(view + 52, 0xFF, 4);
  ASSERT_TRUE(SendMessageTimeoutA(f, 0x1653, 0, 0, SMTO_ABORTIFHUNG, 10000, &result));
  EXPECT_EQ(result, 0u);
  // A block address from this process is not followed.
  char junk[64] = {};
  ASSERT_TRUE(SendMessageTimeoutA(f, 0x1634 + 0, 0, (LPARAM)junk, SMTO_ABORTIFHUNG, 10000, &result));
  EXPECT_EQ(result, 0u);
  strcpy((char *)view + 56, card("card4.bmp").c_str());
  ASSERT_TRUE(SendMessageTimeoutA(f, 0x1653, 0, 0, SMTO_ABORTIFHUNG, 10000, &result));
  EXPECT_NE(result, 0u);
  EXPECT_EQ(view[48], 3); // the BMP entry, written back
  UnmapViewOfFile(view);
  CloseHandle(m);
  EXPECT_EQ(image_windows(f).size(), 1u);
  PostMessageA(f, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.exit_code(), 0u);
}

TEST(Program, TheLogoStaysUntilClickedAndGoesAtOnceForAFile) {
  {
    Program p("");
    HWND logo = p.window("AboutClass", NULL, 30000);
    ASSERT_NE(logo, nullptr);
    save_screenshot(logo, "logo-at-start");
    HWND f = p.frame(1000);
    ASSERT_NE(f, nullptr);
    PostMessageA(logo, WM_LBUTTONDOWN, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindow(logo) && GetTickCount() - start < 5000) Sleep(20);
    EXPECT_FALSE(IsWindow(logo));
    PostMessageA(f, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.exit_code(), 0u);
  }
  Program p(card("card1.bmp"));
  HWND f = p.frame();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(wait_for_images(f, 1).size(), 1u);
  EXPECT_EQ(p.window("AboutClass", NULL, 0), nullptr);
  PostMessageA(f, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.exit_code(), 0u);
}

TEST(Program, RunsWithoutTheHostLibraryAndWithABrokenOne) {
  std::string plain = program_folder("lc_no_host");
  {
    Program p("/NOLOGO " + card("card8.bmp"), plain + "\\lumacast.exe");
    HWND f = p.frame();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(wait_for_images(f, 1).size(), 1u);
    EXPECT_EQ(p.window("#32770", NULL, 300), nullptr); // no message about it
    PostMessageA(f, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.exit_code(), 0u);
  }
  std::string broken = program_folder("lc_broken_host");
  ASSERT_TRUE(copy_into(broken, "imagehost_broken.dll", "IMAGEHOST.DLL"));
  Program p("/NOLOGO " + card("card8.bmp"), broken + "\\lumacast.exe");
  HWND f = p.frame();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(wait_for_images(f, 1).size(), 1u);
  HANDLE marker = OpenEventA(SYNCHRONIZE, FALSE, "LumacastBrokenHostInitialised");
  EXPECT_EQ(marker, nullptr) << "a library without its handlers was initialised";
  if (marker) CloseHandle(marker);
  PostMessageA(f, WM_CLOSE, 0, 0);
  EXPECT_EQ(p.exit_code(), 0u);
}
