// The three effects behind colorkit's ordinals.  WaterColor alternates
// Soften and Pigment (soft washes whose bands blur into each other, dark
// rims where the paint dried); Glass frosts a scattered image into panes.
#include "ck_internal.h"

namespace {

const int kSoften[3] = {1, 2, 1};
const int kFrost[5] = {1, 4, 6, 4, 1};
// Pigment: levels of each channel, the darkening of the strongest edges,
// and the share of paper that shows through.
const int kPigmentLevels = 6;
const int kEdgeLimit = 128;
const int kPaper = 8;
const int kFrostLight = 6;

int luma(const BYTE px[4]) { return (px[2] * 77 + px[1] * 150 + px[0] * 29) >> 8; }

int luma_at(const CkImage *img, LONG x, LONG y) {
    BYTE px[4];
    ck_pixel(img, ck_clamp(x, img->src.width - 1), ck_clamp(y, img->src.height - 1), px);
    return luma(px);
}

int edge_strength(const CkImage *img, LONG x, LONG y) {
    int across = luma_at(img, x + 1, y) - luma_at(img, x - 1, y);
    int down = luma_at(img, x, y + 1) - luma_at(img, x, y - 1);
    int g = (across < 0 ? -across : across) + (down < 0 ? -down : down);
    return g > kEdgeLimit ? kEdgeLimit : g;
}

BYTE pigment(int c, int edge) {
    const int step = 255 / (kPigmentLevels - 1);
    int wash = (c * (kPigmentLevels - 1) + 127) / 255 * step;
    int dark = wash * (255 - edge) / 255;
    return (BYTE)(dark + (255 - dark) / kPaper);
}

}  // namespace

extern "C" HGLOBAL WINAPI CK_Pigment(HGLOBAL dib, DWORD, DWORD) {
    CkImage img;
    CkOut out;
    if (!ck_open(dib, 0, &img)) return nullptr;
    if (!ck_new(&img, &out)) return ck_fail(&img, &out), nullptr;
    for (LONG y = 0; y < img.src.height; y++) {
        BYTE *d = out.bits + (size_t)y * out.stride;
        for (LONG x = 0; x < img.src.width; x++, d += out.bytes) {
            BYTE px[4];
            ck_pixel(&img, x, y, px);
            int edge = edge_strength(&img, x, y);
            for (int c = 0; c < 3; c++) d[c] = pigment(px[c], edge);
            if (out.bytes == 4) d[3] = px[3];
        }
    }
    return ck_finish(&img, &out);
}

extern "C" HGLOBAL WINAPI CK_Frost(HGLOBAL dib, DWORD, DWORD) {
    CkImage img;
    CkOut out;
    if (!ck_open(dib, 0, &img)) return nullptr;
    if (!ck_new(&img, &out) || !ck_blur(&img, kFrost, 5, 4, &out)) return ck_fail(&img, &out), nullptr;
    for (LONG y = 0; y < img.src.height; y++) {
        BYTE *d = out.bits + (size_t)y * out.stride;
        for (LONG x = 0; x < img.src.width; x++, d += out.bytes)
            for (int c = 0; c < 3; c++) d[c] = (BYTE)(d[c] + (255 - d[c]) / kFrostLight);
    }
    return ck_finish(&img, &out);
}

extern "C" HGLOBAL WINAPI CK_Soften(HGLOBAL dib, DWORD, DWORD) {
    CkImage img;
    CkOut out;
    if (!ck_open(dib, 1, &img)) return nullptr;
    if (!ck_new(&img, &out) || !ck_blur(&img, kSoften, 3, 2, &out)) return ck_fail(&img, &out), nullptr;
    return ck_finish(&img, &out);
}
