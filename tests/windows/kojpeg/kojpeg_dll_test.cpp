// kojpeg.dll as the program and imagehost bind it: every export at its
// ordinal, loads and saves through them with TAVN13.DLL found beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kojpeg.h"

namespace {

std::string fixture(const char *name) {
    std::string p = std::string(LC_SOURCE_DIR) + "/tests/fixtures/jpeg/" + name;
    if (!p.empty() && p[0] == '/') p = "Z:" + p;  // a Unix path under Wine
    return p;
}

struct Dll : ::testing::Test {
    HMODULE dll = nullptr;
    void SetUp() override {
        dll = LoadLibraryA("kojpeg.dll");
        ASSERT_NE(dll, nullptr);
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
    }
    void *at(int ordinal) { return (void *)GetProcAddress(dll, MAKEINTRESOURCEA(ordinal)); }
};

TEST_F(Dll, EveryExportSitsAtItsOrdinal) {
    const char *names[] = {nullptr, nullptr, "RQ_Fmt_Version", "RQ_Fmt_Init", "RQ_Fmt_Load", "RQ_Fmt_Save",
                           "RQ_Fmt_Validate", "RQ_Fmt_Icon", "MEM_SaveJPG", "MEM_LoadJPG", "FOR_LoadJPG",
                           "FOR_SaveJPG"};
    for (int ordinal = 2; ordinal <= 11; ordinal++) {
        ASSERT_NE(at(ordinal), nullptr) << ordinal;
        EXPECT_EQ(at(ordinal), (void *)GetProcAddress(dll, names[ordinal])) << names[ordinal];
    }
    EXPECT_EQ(((int(WINAPI *)(void))at(2))(), 1);
    EXPECT_NE(((HANDLE(WINAPI *)(void))at(7))(), nullptr);  // the icon "Orvanta"
}

TEST_F(Dll, LoadsAndSavesThroughTheCodecLibraryBesideIt) {
    auto load = (int(WINAPI *)(LPSTR, HGLOBAL *))at(10);
    auto save = (int(WINAPI *)(HMODULE, LPSTR, HGLOBAL, WORD, WORD, WORD))at(5);
    auto memSave = (int(WINAPI *)(BYTE *, DWORD *, HGLOBAL, WORD))at(8);
    auto memLoad = (int(WINAPI *)(const BYTE *, DWORD, HGLOBAL *))at(9);
    std::string name = fixture("s444.jpg");
    HGLOBAL dib = nullptr;
    ASSERT_EQ(load(&name[0], &dib), 1);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(bh->biWidth, 67);
    EXPECT_EQ(bh->biHeight, 45);
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    if (bits > 16) {
        EXPECT_EQ(bh->biBitCount, 24);
    }
    GlobalUnlock(dib);

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string out = std::string(temp) + "kojpeg_win_test.jpg";
    ASSERT_EQ(save(nullptr, &out[0], dib, 0, 10, 0xFFFF), 1);
    HGLOBAL back = nullptr;
    ASSERT_EQ(load(&out[0], &back), 1);
    GlobalFree(back);
    DeleteFileA(out.c_str());

    std::vector<BYTE> buffer(1 << 16);
    DWORD size = (DWORD)buffer.size();
    ASSERT_EQ(memSave(buffer.data(), &size, dib, 5), 1);
    ASSERT_GT(size, 100u);
    DWORD exact = size;
    EXPECT_EQ(memSave(buffer.data(), &exact, dib, 5), 0);
    EXPECT_EQ(exact, 0u);
    ASSERT_EQ(memLoad(buffer.data(), size, &back), 1);
    GlobalFree(back);
    GlobalFree(dib);
}

}  // namespace
