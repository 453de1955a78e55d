// Test support under Wine: a recording error method, message-only parent
// windows and 24-bit drawing surfaces whose pixels can be read back.
#ifndef ZYN_WIN_SUPPORT_H
#define ZYN_WIN_SUPPORT_H

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "zynlib.h"

struct Shown {
    std::string text;
    bool hasCaption;
    std::string caption;
};

inline std::vector<Shown> &shown() {
    static std::vector<Shown> v;
    return v;
}

inline int WINAPI record_message(HWND, LPCSTR text, LPCSTR caption, UINT) {
    shown().push_back({text ? text : "", caption != nullptr, caption ? caption : ""});
    return IDOK;
}

// Every test records messages instead of showing boxes.
class ZynWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        shown().clear();
        previous_ = ZYN_ERR_SetErrorMethod(record_message);
    }
    void TearDown() override { ZYN_ERR_SetErrorMethod(previous_); }

private:
    ZYN_ERRMETHOD previous_ = nullptr;
};

// A message-only window to parent controls: no display needed to exist.
inline HWND message_window(void) {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 200, 200, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// A memory DC drawing into a top-down 24-bit DIB section.
struct Surface {
    HDC dc = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ old = nullptr;
    BYTE *bits = nullptr;
    int width = 0, height = 0, stride = 0;

    Surface(int w, int h) : width(w), height(h), stride(((w * 3) + 3) & ~3) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        dc = CreateCompatibleDC(nullptr);
        void *p = nullptr;
        section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<BYTE *>(p);
        old = SelectObject(dc, section);
        clear(RGB(10, 20, 30));
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(section);
        DeleteDC(dc);
    }
    void clear(COLORREF c) {
        RECT r = {0, 0, width, height};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
        GdiFlush();
    }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const BYTE *p = bits + y * stride + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
};

// A packed 24-bit DIB whose pixel (x, y) has red x*30, green y*40 and the
// given blue.
inline HGLOBAL make_dib24(LONG w, LONG h, BYTE blue = 99) {
    LONG stride = ((w * 24 + 31) >> 5) * 4;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + stride * h);
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    BITMAPINFOHEADER *bi = reinterpret_cast<BITMAPINFOHEADER *>(p);
    bi->biSize = sizeof *bi;
    bi->biWidth = w;
    bi->biHeight = h;
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    bi->biSizeImage = stride * h;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < w; ++x) {
            BYTE *px = p + sizeof *bi + y * stride + x * 3;
            px[0] = blue;
            px[1] = (BYTE)(y * 40);
            px[2] = (BYTE)(x * 30);
        }
    GlobalUnlock(dib);
    return dib;
}

#endif
