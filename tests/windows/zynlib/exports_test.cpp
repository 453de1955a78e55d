// Every export of the DLL answers at its ordinal.
#include "win_support.h"
#include "zynlib_exports.h"

namespace {

TEST(zynExports, EveryOrdinalResolvesToTheNamedExport) {
    HMODULE dll = GetModuleHandleA("zynlib.dll");
    ASSERT_NE(dll, nullptr);
    for (const auto &e : kExports) {
        FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(e.ordinal));
        FARPROC byName = GetProcAddress(dll, e.name);
        EXPECT_NE(byName, nullptr) << e.name;
        EXPECT_EQ(byOrdinal, byName) << e.name << " @" << e.ordinal;
    }
}

TEST(zynExports, CalledByOrdinal) {
    HMODULE dll = GetModuleHandleA("zynlib.dll");
    typedef WORD(WINAPI * NumColors)(const void *);
    FARPROC proc = GetProcAddress(dll, MAKEINTRESOURCEA(400));
    NumColors numColors = reinterpret_cast<NumColors>(reinterpret_cast<void *>(proc));
    ASSERT_NE(proc, nullptr);
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biBitCount = 8;
    EXPECT_EQ(numColors(&bi), 256);
}

class zynErrors : public ZynWinTest {};

TEST_F(zynErrors, LibraryMessagesComeFromTheDllsStringTable) {
    HINSTANCE dll = GetModuleHandleA("zynlib.dll");
    ZYN_ERR_ErrorID(dll, ZYN_ERR_LEVEL_ERROR, 8204);
    ZYN_ERR_ErrorID(dll, ZYN_ERR_LEVEL_WARNING, 8227);
    ZYN_ERR_ErrorID(dll, ZYN_ERR_LEVEL_ERROR, 12345);
    EXPECT_EQ(ZYN_ERR_ErrorID(dll, 4, 8204), 0);
    ASSERT_EQ(shown().size(), 3u);
    EXPECT_EQ(shown()[0].text, "Not enough memory to perform operation");
    EXPECT_FALSE(shown()[0].hasCaption);
    EXPECT_EQ(shown()[1].text, "Correcting bad DIB alignment");
    EXPECT_FALSE(shown()[1].hasCaption);  // the library has no string 19715
    EXPECT_EQ(shown()[2].text, "Internal error (id = 12345)");
    char face[32];
    EXPECT_GT(LoadStringA(dll, 512, face, sizeof face), 0);
    EXPECT_STREQ(face, "Arial");
}

HWND g_captureDuring = reinterpret_cast<HWND>(1);
int WINAPI note_capture(HWND, LPCSTR, LPCSTR, UINT) {
    g_captureDuring = GetCapture();
    return IDOK;
}

TEST_F(zynErrors, CaptureIsGivenBackAfterTheMessage) {
    HWND w = message_window();
    ASSERT_NE(w, nullptr);
    SetCapture(w);
    ASSERT_EQ(GetCapture(), w);
    ZYN_ERR_SetErrorMethod(note_capture);
    ZYN_ERR_ErrorID(GetModuleHandleA("zynlib.dll"), ZYN_ERR_LEVEL_ERROR, 8204);
    EXPECT_EQ(g_captureDuring, nullptr) << "the mouse was still captured while the message showed";
    EXPECT_EQ(GetCapture(), w);
    ReleaseCapture();
    DestroyWindow(w);
}

int g_posted = 0;
LRESULT CALLBACK counting_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 7) ++g_posted;
    return DefWindowProcA(w, msg, wp, lp);
}
int WINAPI seven(void) { return 7; }

TEST(zynBackground, DispatchesPendingMessagesOnlyInBackgroundMode) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = counting_proc;
    wc.lpszClassName = "ZynBackgroundProbe";
    wc.hInstance = GetModuleHandleA(nullptr);
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    g_posted = 0;
    for (int i = 0; i < 3; ++i) PostMessageA(w, WM_USER + 7, 0, 0);
    EXPECT_EQ(ZYN_EVT_Background(), 1);
    EXPECT_EQ(g_posted, 0);  // outside background mode nothing is dispatched
    ZYN_EVT_StartBackground(seven);
    EXPECT_EQ(ZYN_EVT_Background(), 7);
    EXPECT_EQ(g_posted, 3);
    ZYN_EVT_StopBackground();
    EXPECT_EQ(ZYN_EVT_Background(), 1);
    DestroyWindow(w);
}

TEST(zynSystemKind, IsOneOfTheFourKinds) {
    int kind = ZYN_MD_GetOS();
    EXPECT_TRUE(kind >= ZYN_OS_WIN95 && kind <= ZYN_OS_WINNT4) << kind;
}

}  // namespace
