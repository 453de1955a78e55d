#include <benchmark/benchmark.h>
#include <string.h>

#include <vector>

#include "zynlib.h"

static HGLOBAL make_rgb24(int width, int height) {
    DWORD stride = ((24u * width + 31) >> 5) * 4;
    HGLOBAL dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + (size_t)stride * height);
    BITMAPINFOHEADER *h = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = 24;
    h->biSizeImage = stride * height;
    GlobalUnlock(dib);
    return dib;
}

static void BM_Crc32(benchmark::State &state) {
    std::vector<BYTE> data(1 << 20, 0x5A);
    DWORD table[256];
    for (DWORD n = 0; n < 256; ++n) {
        DWORD c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    for (auto _ : state) benchmark::DoNotOptimize(ZYN_CRC_ProcessBuffer(table, 0xFFFFFFFFu, data.data(), (DWORD)data.size()));
    state.SetBytesProcessed(state.iterations() * (int64_t)data.size());
}
BENCHMARK(BM_Crc32);

// 12 megapixels, the size the whole-process benchmarks use.
static void BM_DibCopy12MP(benchmark::State &state) {
    HGLOBAL dib = make_rgb24(4000, 3000);
    for (auto _ : state) {
        HGLOBAL copy = ZYN_DIB_Copy(dib);
        benchmark::DoNotOptimize(copy);
        GlobalFree(copy);
    }
    state.counters["MP/s"] = benchmark::Counter(12.0 * state.iterations(), benchmark::Counter::kIsRate);
    GlobalFree(dib);
}
BENCHMARK(BM_DibCopy12MP)->Unit(benchmark::kMillisecond);
