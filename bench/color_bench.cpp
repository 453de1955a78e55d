// The colour reductions on 12 megapixels: flat cut with and without
// dither, each kernel, the palette mapping and median cut.
#include <benchmark/benchmark.h>

#include "codecs/common/dib_build.h"
#include "color/flat/flat_reduce.h"
#include "color/flat/palette_map.h"
#include "color/mediancut/median_cut.h"
#include "shell/settings/settings.h"
#include "zynlib.h"

// A smooth colour field with some noise, like a photo.
static HGLOBAL photo_like(int width, int height) {
    DibParts d;
    if (!dib_create(width, height, 24, 0, &d)) return NULL;
    unsigned seed = 7;
    for (int y = 0; y < height; y++) {
        BYTE *row = d.bits + (size_t)y * d.stride;
        for (int x = 0; x < width; x++) {
            seed = seed * 1103515245u + 12345u;
            int noise = (int)(seed >> 27) - 16;
            int r = (x * 255) / width + noise, g = (y * 255) / height + noise, b = ((x + y) * 127) / (width + height) + 64 + noise;
            row[3 * x] = (BYTE)(b < 0 ? 0 : b > 255 ? 255 : b);
            row[3 * x + 1] = (BYTE)(g < 0 ? 0 : g > 255 ? 255 : g);
            row[3 * x + 2] = (BYTE)(r < 0 ? 0 : r > 255 ? 255 : r);
        }
    }
    HGLOBAL h = d.handle;
    dib_close(&d);
    return h;
}

static HGLOBAL photo() {
    static HGLOBAL shared = photo_like(4000, 3000);
    return shared;
}

static void rate(benchmark::State &state) {
    state.counters["MP/s"] = benchmark::Counter(12.0 * state.iterations(), benchmark::Counter::kIsRate);
}

static void BM_FlatCut(benchmark::State &state) {
    int target = (int)state.range(0);
    for (auto _ : state) {
        HGLOBAL out = flat_cut(photo(), target, 0, 0);
        benchmark::DoNotOptimize(out);
        GlobalFree(out);
    }
    rate(state);
}
BENCHMARK(BM_FlatCut)->Arg(1)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// Arguments: target, dither_type (0 halftone, 1..8 kernels).
static void BM_FlatCutDither(benchmark::State &state) {
    int target = (int)state.range(0), type = (int)state.range(1);
    for (auto _ : state) {
        HGLOBAL out = flat_reduce_dither_type(photo(), target, 0, type);
        benchmark::DoNotOptimize(out);
        GlobalFree(out);
    }
    rate(state);
}
BENCHMARK(BM_FlatCutDither)
    ->ArgsProduct({{8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}})
    ->Args({1, 2})
    ->Args({4, 2})
    ->Args({16, 2})
    ->Unit(benchmark::kMillisecond);

// Arguments: colours, dither, fast_dither.
static void BM_MedianCut(benchmark::State &state) {
    settings_write(SET_DITHER_TYPE, 2);
    settings_write(SET_FAST_DITHER, (LONG)state.range(2));
    for (auto _ : state) {
        HGLOBAL out = optimized_cut(photo(), (DWORD)state.range(0), (int)state.range(1));
        benchmark::DoNotOptimize(out);
        GlobalFree(out);
    }
    rate(state);
}
BENCHMARK(BM_MedianCut)
    ->Args({256, 0, 1})
    ->Args({256, 1, 1})
    ->Args({16, 0, 1})
    ->Args({16, 1, 1})
    ->Args({256, 1, 0})
    ->Unit(benchmark::kMillisecond);
