// Position arithmetic of a scroll-bar control; the Windows export reads and
// sets the control around it.
#include "util_internal.h"

namespace {

// The 0..16384 range is the one the program uses for proportional views:
// positions within a line step of either end go all the way.
const int kFullRange = 16384;
const int kSnapLow = 163;
const int kSnapHigh = 16221;

}  // namespace

extern "C" void zyn_scroll_steps(int min, int max, int *lineStep, int *pageStep) {
    long long span = (long long)max - min;
    long long line = span / 100, page = span / 5;
    *lineStep = (int)(line < 1 ? 1 : line);
    *pageStep = (int)(page < 2 ? 2 : page);
}

extern "C" int zyn_scroll_position(int min, int max, int pos, UINT code, int thumb, BOOL thumbTrack, int lineStep,
                                   int pageStep) {
    long long next;  // wide: pos plus a step must not overflow
    switch (code) {
    case ZYN_SB_LINEUP: next = (long long)pos - lineStep; break;
    case ZYN_SB_LINEDOWN: next = (long long)pos + lineStep; break;
    case ZYN_SB_PAGEUP: next = (long long)pos - pageStep; break;
    case ZYN_SB_PAGEDOWN: next = (long long)pos + pageStep; break;
    case ZYN_SB_THUMBTRACK:
        if (!thumbTrack) return -1;
        next = thumb;
        break;
    case ZYN_SB_THUMBPOSITION: next = thumb; break;
    default: return -1;
    }
    if (next < min) next = min;
    if (next > max) next = max;
    if (min == 0 && max == kFullRange) {
        if (next < kSnapLow) next = 0;
        if (next > kSnapHigh) next = kFullRange;
    }
    return next == pos ? -1 : (int)next;
}
