// The random numbers of the brush, Frazzle and Reflection filters: one
// small generator of our own (a 64-bit linear congruential step, the top
// 31 bits out), so that every build gives the same pictures.
#include "style_internal.h"

namespace {

uint64_t g_state;

}  // namespace

extern "C" void sty_srand(DWORD seed) { g_state = seed; }

extern "C" DWORD sty_rand(void) {
    g_state = g_state * 6364136223846793005ull + 1442695040888963407ull;
    return (DWORD)(g_state >> 33);
}
