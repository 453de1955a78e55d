// Scaling, depth and palette-matching operations on a 12-megapixel image
// (2000 x 1500 for the 8-bit filters), in source megapixels per second.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "color/depth/depth.h"
#include "zynlib.h"

namespace {

HGLOBAL make_image(int width, int height, WORD bits) {
    DWORD colors = bits < 24 ? 1u << bits : 0;
    DWORD stride = ((bits * (DWORD)width + 31) >> 5) * 4;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + colors * 4 + (size_t)stride * height);
    BYTE *p = static_cast<BYTE *>(GlobalLock(dib));
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p);
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = bits;
    h->biSizeImage = stride * height;
    h->biClrUsed = colors;
    unsigned s = 12345;
    for (size_t k = sizeof *h; k < GlobalSize(dib); k++) p[k] = (BYTE)((s = s * 1103515245u + 12345u) >> 16);
    GlobalUnlock(dib);
    return dib;
}

template <typename Op>
void run(benchmark::State &state, HGLOBAL dib, double megapixels, Op op) {
    for (auto _ : state) {
        HGLOBAL out = op(dib);
        benchmark::DoNotOptimize(out);
        if (out) GlobalFree(out);
    }
    state.counters["MP/s"] = benchmark::Counter(megapixels * state.iterations(), benchmark::Counter::kIsRate);
    GlobalFree(dib);
}

void BM_StretchHalf24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, [](HGLOBAL d) { return ZYN_DIB_StretchDIB(d, 2000, 1500); });
}
void BM_StretchDouble24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, [](HGLOBAL d) { return ZYN_DIB_StretchDIB(d, 8000, 6000); });
}
void BM_StretchThird8(benchmark::State &state) {
    run(state, make_image(4000, 3000, 8), 12, [](HGLOBAL d) { return ZYN_DIB_StretchDIB(d, 1333, 1000); });
}
void BM_StretchDouble1(benchmark::State &state) {
    run(state, make_image(4000, 3000, 1), 12, [](HGLOBAL d) { return ZYN_DIB_StretchDIB(d, 8000, 6000); });
}
void BM_DoubleDIB24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, [](HGLOBAL d) { return ZYN_DIB_DoubleDIB(d, FALSE, FALSE); });
}
void BM_HalfDIB24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, ZYN_DIB_HalfDIB);
}
void BM_HQHalfDIB24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, ZYN_DIB_HQHalfDIB);
}
void BM_HQHalfDIB8(benchmark::State &state) {
    run(state, make_image(4000, 3000, 8), 12, ZYN_DIB_HQHalfDIB);
}
void BM_HSHQHalfDIB8(benchmark::State &state) {
    HGLOBAL dib = make_image(4000, 3000, 8);
    ZYN_DIB_InitHSMatch(dib, nullptr);
    run(state, dib, 12, ZYN_DIB_HSHQHalfDIB8);
    ZYN_DIB_ExitHSMatch();
}
void BM_HSHQQuarterDIB8(benchmark::State &state) {
    HGLOBAL dib = make_image(4000, 3000, 8);
    ZYN_DIB_InitHSMatch(dib, nullptr);
    run(state, dib, 12, ZYN_DIB_HSHQQuarterDIB8);
    ZYN_DIB_ExitHSMatch();
}
void BM_InitHSMatch256(benchmark::State &state) {
    HGLOBAL dib = make_image(1, 1, 8);
    for (auto _ : state) {
        ZYN_DIB_InitHSMatch(dib, nullptr);
        ZYN_DIB_ExitHSMatch();
    }
    GlobalFree(dib);
}
void BM_CutToPalette256(benchmark::State &state) {
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    LOGPALETTE *pal = reinterpret_cast<LOGPALETTE *>(storage.data());
    pal->palVersion = 0x300;
    pal->palNumEntries = 256;
    for (int i = 0; i < 256; i++)
        pal->palPalEntry[i] = PALETTEENTRY{(BYTE)((i & 7) * 36), (BYTE)(((i >> 3) & 7) * 36), (BYTE)((i >> 6) * 85), 0};
    run(state, make_image(4000, 3000, 24), 12, [pal](HGLOBAL d) { return ZYN_DIB_CutToPalette(d, pal); });
}
void BM_DIBToGray24(benchmark::State &state) {
    run(state, make_image(4000, 3000, 24), 12, ZYN_DIB_DIBToGray);
}
void BM_IncreaseBpp8To32(benchmark::State &state) {
    run(state, make_image(4000, 3000, 8), 12, [](HGLOBAL d) { return ZYN_DIB_IncreaseBpp(d, 32); });
}
void BM_DepthIncrease4To16Bit(benchmark::State &state) {
    run(state, make_image(4000, 3000, 4), 12, [](HGLOBAL d) { return depth_increase(d, 16, 0); });
}
void BM_AddAlpha24(benchmark::State &state) {
    HGLOBAL mask = make_image(4000, 3000, 8);
    run(state, make_image(4000, 3000, 24), 12, [mask](HGLOBAL d) { return ZYN_DIB_AddAlpha(d, mask); });
    GlobalFree(mask);
}

}  // namespace

BENCHMARK(BM_StretchHalf24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchDouble24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchThird8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchDouble1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleDIB24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfDIB24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HQHalfDIB24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HQHalfDIB8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HSHQHalfDIB8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HSHQQuarterDIB8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitHSMatch256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutToPalette256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DIBToGray24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncreaseBpp8To32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DepthIncrease4To16Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddAlpha24)->Unit(benchmark::kMillisecond);
