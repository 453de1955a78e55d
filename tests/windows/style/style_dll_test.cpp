// style.dll as the outside editor binds it: its two exports at their
// ordinals, a filter called through ordinal 1 (WaterColor through
// colorkit.dll beside it), the strings and the "Stylize Editor" template.
#include <gtest/gtest.h>

#include <string>

#include "style_res.h"
#include "windows.h"

namespace {

typedef HGLOBAL(WINAPI *CallFilterProc)(DWORD, HGLOBAL, int, DWORD, DWORD, DWORD, DWORD);
typedef HGLOBAL(WINAPI *EffectProc)(HGLOBAL, DWORD, DWORD);

struct StyleDll : ::testing::Test {
    HMODULE style = nullptr, colorkit = nullptr;
    void SetUp() override {
        style = LoadLibraryA("style.dll");
        ASSERT_NE(style, nullptr);
        colorkit = GetModuleHandleA("colorkit.dll");
        ASSERT_NE(colorkit, nullptr) << "style.dll links colorkit.dll";
    }
    void TearDown() override {
        if (style) FreeLibrary(style);
    }
    void *at(HMODULE m, int ordinal) { return (void *)GetProcAddress(m, MAKEINTRESOURCEA(ordinal)); }
};

// A 24-bit (or 8-bit gray) w x h DIB: blue x * 9, green y * 11, red 77.
HGLOBAL make_dib(int bits, int w, int h) {
    int stride = ((bits * w + 31) >> 5) * 4, colors = bits == 8 ? 256 : 0;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colors * 4 + stride * h);
    BYTE *p = (BYTE *)GlobalLock(dib);
    BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)p;
    bi->biSize = sizeof *bi;
    bi->biWidth = w;
    bi->biHeight = h;
    bi->biPlanes = 1;
    bi->biBitCount = (WORD)bits;
    bi->biSizeImage = stride * h;
    bi->biClrUsed = colors;
    RGBQUAD *table = (RGBQUAD *)(p + sizeof *bi);
    for (int i = 0; i < colors; i++) table[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    BYTE *rows = p + sizeof *bi + colors * 4;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            BYTE *q = rows + y * stride + x * (bits / 8);
            q[0] = (BYTE)(x * 9);
            if (bits == 24) q[1] = (BYTE)(y * 11), q[2] = 77;
        }
    GlobalUnlock(dib);
    return dib;
}

TEST_F(StyleDll, ExportsSitAtTheirOrdinals) {
    EXPECT_EQ(at(style, 1), (void *)GetProcAddress(style, "STY_CallFilter"));
    EXPECT_EQ(at(style, 2), (void *)GetProcAddress(style, "WEP"));
    ASSERT_NE(at(style, 1), nullptr);
    EXPECT_EQ(((int(WINAPI *)(int))at(style, 2))(0), 1);
    EXPECT_EQ(at(colorkit, 17), (void *)GetProcAddress(colorkit, "CK_Pigment"));
    EXPECT_EQ(at(colorkit, 21), (void *)GetProcAddress(colorkit, "CK_Frost"));
    EXPECT_EQ(at(colorkit, 22), (void *)GetProcAddress(colorkit, "CK_Soften"));
    ASSERT_NE(at(colorkit, 22), nullptr);
}

TEST_F(StyleDll, FiltersThroughTheOrdinal) {
    auto call = (CallFilterProc)at(style, 1);
    HGLOBAL dib = make_dib(24, 13, 9);
    // Mosaic at amount 2048: blocks of 3 take their first pixel.
    HGLOBAL out = call(9, dib, 2048, 0, 0, 0, 0);
    ASSERT_NE(out, nullptr);
    BYTE *p = (BYTE *)GlobalLock(out);
    BITMAPINFOHEADER *bi = (BITMAPINFOHEADER *)p;
    EXPECT_EQ(bi->biSize, 40u);
    EXPECT_EQ(bi->biBitCount, 24);
    const BYTE *pixel = p + 40 + 7 * 40 + 5 * 3;  // (5, 7) shows (3, 6)
    EXPECT_EQ(pixel[0], 27);
    EXPECT_EQ(pixel[1], 66);
    EXPECT_EQ(pixel[2], 77);
    GlobalUnlock(out);
    GlobalFree(out);
    EXPECT_EQ(call(39, dib, 2048, 0, 0, 0, 0), nullptr);
    // WaterColor calls the colour library; so does Glass.
    for (DWORD filter : {3u, 26u}) {
        out = call(filter, dib, 16384, 0, 0, 0, 0);
        ASSERT_NE(out, nullptr) << filter;
        EXPECT_EQ(((BITMAPINFOHEADER *)GlobalLock(out))->biBitCount, 24);
        GlobalUnlock(out);
        GlobalFree(out);
    }
    GlobalFree(dib);
    // Soften (22) takes 8-bit palette images and gives 24 bits.
    dib = make_dib(8, 6, 4);
    out = ((EffectProc)at(colorkit, 22))(dib, 0, 0);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(((BITMAPINFOHEADER *)GlobalLock(out))->biBitCount, 24);
    GlobalUnlock(out);
    GlobalFree(out);
    EXPECT_EQ(((EffectProc)at(colorkit, 17))(dib, 0, 0), nullptr) << "17 takes 24 and 32 bits only";
    GlobalFree(dib);
}

TEST_F(StyleDll, CarriesItsStringsAndTheEditorTemplate) {
    char text[64];
    ASSERT_GT(LoadStringA(style, 4175, text, sizeof text), 0);
    EXPECT_STREQ(text, "Test Filter [24]");
    LoadStringA(style, 4128, text, sizeof text);
    EXPECT_STREQ(text, "*Color Halftone [XXX]");
    LoadStringA(style, 4097, text, sizeof text);
    EXPECT_STREQ(text, "Not enough memory to complete operation");
    // The template's special classes belong to the editor's side: stand-ins
    // let the dialog be built here.
    for (const char *name : {"EditDispClass", "DLLGroupBox"}) {
        WNDCLASSA wc = {};
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    HWND dialog = CreateDialogParamA(style, MAKEINTRESOURCEA(IDD_STY_EDITOR), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(dialog, nullptr);
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Stylize Editor");
    for (int id : {1, 2, 200, 201, 202, 203, 204, 205, 206, 207, 209, 210, 211, 212})
        EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
    GetClassNameA(GetDlgItem(dialog, IDC_STY_PREVIEW), text, sizeof text);
    EXPECT_STREQ(text, "EditDispClass");
    DestroyWindow(dialog);
}

// lumaconv.exe with the filter options: the same pixels as the DLL's call,
// and the filter names from the program's own string table.
int run_lumaconv(const std::string &args, const std::string &out) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\') + 1);
    std::string cmd = "\"" + dir + "lumaconv.exe\" " + args;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, 0, &sa, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(file);
        return -1;
    }
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(file);
    return (int)code;
}

std::string slurp(const std::string &path) {
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return text;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) text.append(buf, n);
    CloseHandle(f);
    return text;
}

TEST_F(StyleDll, LumaconvFiltersLikeTheDll) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string in = std::string(temp) + "style_in.bmp", out = std::string(temp) + "style_out.bmp",
                log = std::string(temp) + "style_log.txt";
    HGLOBAL dib = make_dib(24, 13, 9);
    BYTE *p = (BYTE *)GlobalLock(dib);
    DWORD size = (DWORD)GlobalSize(dib);
    BITMAPFILEHEADER fh = {0x4D42, (DWORD)sizeof fh + size, 0, 0, (DWORD)sizeof fh + 40};
    std::string file((const char *)&fh, sizeof fh);
    file.append((const char *)p, size);
    GlobalUnlock(dib);
    HANDLE f = CreateFileA(in.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(f, file.data(), (DWORD)file.size(), &written, nullptr);
    CloseHandle(f);

    ASSERT_EQ(run_lumaconv("convert \"" + in + "\" \"" + out + "\" --filter posterize --p1 64", log), 0) << slurp(log);
    HGLOBAL want = ((CallFilterProc)at(style, 1))(32, dib, 16384, 64, 0, 0, 0);
    ASSERT_NE(want, nullptr);
    std::string got = slurp(out);
    ASSERT_GT(got.size(), sizeof(BITMAPFILEHEADER) + 40);
    BYTE *w = (BYTE *)GlobalLock(want);
    EXPECT_EQ(got.substr(sizeof(BITMAPFILEHEADER) + 40), std::string((const char *)w + 40, 40 * 9));
    GlobalUnlock(want);
    GlobalFree(want);
    GlobalFree(dib);

    ASSERT_EQ(run_lumaconv("filters", log), 0);
    EXPECT_NE(slurp(log).find("32\tPosterize\trows\tColors=128\t-\t-"), std::string::npos) << slurp(log);
    DeleteFileA(in.c_str());
    DeleteFileA(out.c_str());
    DeleteFileA(log.c_str());
}

}  // namespace
