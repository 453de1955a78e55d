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

#endif
