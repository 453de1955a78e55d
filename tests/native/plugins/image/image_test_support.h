/* Shared by the image-operation tests: pictures at every depth, a result
   read back from the top, the operations' texts, PPM files for the peer
   programs, and a recording progress record. */
#ifndef IMAGE_TEST_SUPPORT_H
#define IMAGE_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "codec_images.h"
#include "image_ops.h"

static const int kDepths[] = {1, 4, 8, 24, 32};

/* A picture of noise at a depth, palette images under a table of spread
   colors (black and white for 1 bit, so that inverting the bits inverts
   the colors). */
inline HGLOBAL noise_dib(int w, int h, int bpp) {
    int colors = bpp <= 8 ? 1 << bpp : 0;
    auto value = [bpp](int x, int y) { return bpp <= 8 ? noise(x, y) & ((1u << bpp) - 1) : noise(x, y) & 0xFFFFFF; };
    if (bpp == 1) return make_dib(w, h, bpp, colors, value, true);
    return make_dib(w, h, bpp, colors, value);
}

/* Any size, beyond what the codecs' builder allows: a gray table below 24
   bits, noise in every byte of the rows. */
inline HGLOBAL raw_dib(LONG w, LONG h, WORD bpp) {
    DWORD colors = bpp <= 8 ? 1u << bpp : 0;
    size_t stride = (((size_t)bpp * w + 31) >> 5) * 4, pixels = stride * h;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + colors * 4 + pixels);
    BYTE *p = (BYTE *)GlobalLock(dib);
    BITMAPINFOHEADER bi = {sizeof bi, w, h, 1, bpp, BI_RGB, (DWORD)pixels, 0, 0, colors, 0};
    memcpy(p, &bi, sizeof bi);
    RGBQUAD *table = (RGBQUAD *)(p + sizeof bi);
    for (DWORD i = 0; i < colors; i++) {
        BYTE v = (BYTE)(i * 255 / (colors - 1));
        table[i] = RGBQUAD{v, v, v, 0};
    }
    BYTE *bits = p + sizeof bi + colors * 4;
    for (size_t i = 0; i < pixels; i++) bits[i] = (BYTE)noise((int)(i % 4099), (int)(i / 4099));
    GlobalUnlock(dib);
    return dib;
}

/* The result of an operation that must succeed. */
inline HGLOBAL expect_ok(int status, HGLOBAL out) {
    EXPECT_EQ(status, IMG_OK);
    EXPECT_NE(out, nullptr);
    return out;
}

/* Runs op(out) and frees the result after reading it back. */
template <class Op>
inline Pixels result_of(Op op) {
    HGLOBAL out = NULL;
    int status = op(&out);
    EXPECT_EQ(status, IMG_OK);
    Pixels p = out ? pixels_of(out) : Pixels();
    if (out) GlobalFree(out);
    return p;
}

inline std::string img_text(UINT id) {
    char text[256];
    return LoadStringA(img_instance(), id, text, sizeof text) ? text : "";
}

/* A DIB locked for a look at its bytes. */
struct LockedDib {
    HGLOBAL h;
    BITMAPINFOHEADER *bi = nullptr;
    RGBQUAD *table = nullptr;
    BYTE *bits = nullptr;
    explicit LockedDib(HGLOBAL handle) : h(handle) { ZYN_DIB_LockPtrs(h, &bi, &table, &bits); }
    ~LockedDib() { GlobalUnlock(h); }
};

/* Top-down RGB as a binary PPM, and a peer's output read back. */
inline std::string ppm_of(const Pixels &p) {
    std::string s = "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    s.append(p.rgb.begin(), p.rgb.end());
    return s;
}

/* Runs a command with {in} and {out} replaced by files of dir holding the
   picture and receiving the peer's PPM. */
inline Picture peer(const std::string &dir, const Pixels &p, std::string command) {
    std::string in = dir + "/peer_in.ppm", out = dir + "/peer_out.ppm";
    write_file(in, ppm_of(p));
    for (auto [key, path] : {std::make_pair(std::string("{in}"), in), std::make_pair(std::string("{out}"), out)})
        for (size_t at; (at = command.find(key)) != std::string::npos;) command.replace(at, key.size(), path);
    unlink(out.c_str());
    EXPECT_EQ(system((command + " 2>/dev/null").c_str()), 0) << command;
    Picture r = parse_ppm(read_file(out));
    unlink(in.c_str());
    unlink(out.c_str());
    return r;
}

inline Picture picture_of(const Pixels &p) {
    Picture q;
    q.width = p.width, q.height = p.height, q.rgb = p.rgb;
    return q;
}

/* What a long operation told its progress record. */
struct ProgressLog {
    UINT caption = 0;
    LONG rows = -1;
    std::vector<LONG> steps;
    int ends = 0, background = 0;
    ImgProgress record() {
        ImgProgress p;
        p.context = this;
        p.start = [](void *c, UINT id, LONG n) {
            static_cast<ProgressLog *>(c)->caption = id;
            static_cast<ProgressLog *>(c)->rows = n;
        };
        p.step = [](void *c, LONG row) { static_cast<ProgressLog *>(c)->steps.push_back(row); };
        p.end = [](void *c) { static_cast<ProgressLog *>(c)->ends++; };
        p.background = [](void *c) { static_cast<ProgressLog *>(c)->background++; };
        return p;
    }
};

/* The steps the common frame asks for over rows 0..n-1. */
inline std::vector<LONG> expected_steps(LONG n) {
    std::vector<LONG> s;
    for (LONG r = 0; r < n; r++)
        if (r % 16 == 0 || r == n - 1) s.push_back(r);
    return s;
}

#define SKIP_WITHOUT(program)                                                   \
    do {                                                                        \
        if (!have_program(program)) GTEST_SKIP() << program " is not installed"; \
    } while (0)

#endif
