// The texture family (Tiles, Bricks, Bumps, Steel Plate, Weave): a
// repeating kernel of signed values added to every channel.
#include "style_pixels.h"

namespace {

struct Texture {
    int filter;
    int size;
    short k[8][8];
};

const Texture kTextures[] = {
    {12, 8, {{0, -255, -255, -255, -255, -255, -255, -255},
             {-255, 92, 92, 92, 92, 92, 92, 0},
             {-255, 92, 32, 0, 0, 0, 0, -92},
             {-255, 92, 32, 0, 0, 0, -32, -92},
             {-255, 92, 32, 0, 0, 0, -32, -92},
             {-255, 92, 32, 0, 0, 0, -32, -92},
             {-255, 92, 0, -32, -32, -32, -32, -92},
             {-255, 0, -92, -92, -92, -92, -92, -92}}},
    {15, 8, {{-255, -255, -255, -255, -255, -255, -255, -255},
             {-255, 0, 0, 0, 0, 0, 0, 0},
             {-255, 0, 0, 0, 0, 0, 0, 0},
             {-255, 0, 0, 0, 0, 0, 0, 0},
             {-255, -255, -255, -255, -255, -255, -255, -255},
             {0, 0, 0, 0, -255, 0, 0, 0},
             {0, 0, 0, 0, -255, 0, 0, 0},
             {0, 0, 0, 0, -255, 0, 0, 0}}},
    {16, 8, {{0, 0, 64, 64, 64, 32, 0, 0},
             {0, 64, 64, 32, 16, 8, 0, 0},
             {64, 64, 16, 8, 8, 0, -8, -32},
             {64, 32, 8, 0, 0, -8, -16, -64},
             {64, 16, 8, 0, 0, -8, -32, -64},
             {32, 8, 0, -8, -8, -16, -64, -64},
             {0, 0, -8, -16, -32, -64, -64, 0},
             {0, 0, -32, -64, -64, -64, 0, 0}}},
    {24, 6, {{10, -10, -32, -64, -32, -10},
             {-10, 10, 5, -32, 5, 10},
             {-32, 5, 10, 5, 10, 5},
             {-64, -32, 5, 10, 5, -32},
             {-32, 5, 10, 5, 10, 5},
             {-10, 10, 5, -32, 5, 10}}},
    {25, 6, {{32, 0, -255, -255, -255, 0},
             {0, -255, 0, -255, 0, 32},
             {-255, 0, 32, 0, -255, 0},
             {-255, -255, 0, 32, 0, -255},
             {-255, 0, -255, 0, 32, 0},
             {0, 32, 0, -255, 0, -255}}},
};

const Texture *texture_of(int filter) {
    for (const Texture &t : kTextures)
        if (t.filter == filter) return &t;
    return nullptr;
}

template <class S>
void texture_row(const S &s, const Texture &t, LONG y, BYTE *out) {
    const short *k = t.k[y % t.size];
    for (LONG x = 0; x < s.w; x++) {
        StyPx p = s.at(x, y);
        const int add = k[x % t.size];
        StyPx v = {sty_clamp255(p.b + add), sty_clamp255(p.g + add), sty_clamp255(p.r + add), p.a};
        sty_put<S>(out + (size_t)x * S::kOut, v, p);
    }
}

}  // namespace

extern "C" HGLOBAL sty_run_texture(int filter, HGLOBAL dib, int, int, int, int) {
    const Texture *t = texture_of(filter);
    StyJob job;
    if (!t || !sty_job_begin(dib, &job)) return nullptr;
    int stopped = 0;
    sty_with_source(&job, [&](const auto &s) {
        for (LONG y = 0; y < s.h && !stopped; y++) {
            texture_row(s, *t, y, sty_job_out_row(&job, y));
            stopped = !sty_row_done();
        }
    });
    if (stopped) {
        sty_job_abort(&job);
        return nullptr;
    }
    return sty_job_end(&job);
}
