// Test support: DIB blocks built byte by byte, and an error method that
// records what would have been shown.
#ifndef ZYN_TEST_SUPPORT_H
#define ZYN_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "zynlib.h"

struct ShownMessage {
    std::string text;
    bool hasCaption;
    std::string caption;
    UINT style;
};

inline std::vector<ShownMessage> &shown_messages() {
    static std::vector<ShownMessage> shown;
    return shown;
}

inline int g_method_answer = IDOK;

inline int WINAPI recording_method(HWND, LPCSTR text, LPCSTR caption, UINT style) {
    shown_messages().push_back({text ? text : "<null>", caption != nullptr, caption ? caption : "", style});
    return g_method_answer;
}

// Installs the recording method for one test and checks no block leaks.
class ZynTest : public ::testing::Test {
protected:
    void SetUp() override {
        shown_messages().clear();
        g_method_answer = IDOK;
        previous_ = ZYN_ERR_SetErrorMethod(recording_method);
        live_ = compat_global_live_blocks();
    }
    void TearDown() override {
        ZYN_ERR_SetErrorMethod(previous_);
        EXPECT_EQ(compat_global_live_blocks(), live_) << "memory blocks leaked";
    }
    static const std::vector<ShownMessage> &shown() { return shown_messages(); }

private:
    ZYN_ERRMETHOD previous_ = nullptr;
    long live_ = 0;
};

// A block holding a 40-byte header, `colors` table entries and `pixelBytes`
// bytes of pixels; the header fields are the caller's.
inline HGLOBAL make_dib(LONG width, LONG height, WORD bits, DWORD clrUsed, DWORD sizeImage, size_t tableEntries,
                        size_t pixelBytes, DWORD compression = BI_RGB) {
    size_t total = sizeof(BITMAPINFOHEADER) + tableEntries * sizeof(RGBQUAD) + pixelBytes;
    HGLOBAL h = GlobalAlloc(GHND, total);
    BYTE *p = static_cast<BYTE *>(GlobalLock(h));
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = width;
    bi.biHeight = height;
    bi.biPlanes = 1;
    bi.biBitCount = bits;
    bi.biCompression = compression;
    bi.biSizeImage = sizeImage;
    bi.biClrUsed = clrUsed;
    memcpy(p, &bi, sizeof bi);
    // Recognisable contents after the header: byte k holds k * 7 + 1.
    for (size_t k = sizeof bi; k < total; ++k) p[k] = (BYTE)(k * 7 + 1);
    GlobalUnlock(h);
    return h;
}

inline std::vector<BYTE> block_bytes(HGLOBAL h) {
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(h));
    std::vector<BYTE> v(p, p + GlobalSize(h));
    GlobalUnlock(h);
    return v;
}

inline BITMAPINFOHEADER header_of(HGLOBAL h) {
    BITMAPINFOHEADER bi;
    memcpy(&bi, GlobalLock(h), sizeof bi);
    GlobalUnlock(h);
    return bi;
}

inline UINT lock_count(HGLOBAL h) { return GlobalFlags(h) & GMEM_LOCKCOUNT; }

#endif
