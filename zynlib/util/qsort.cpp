// In-place quicksort with an explicit stack of index ranges.  The pivot is
// the first element of a range; callers depend on that partition only in
// that the order of equal elements is unspecified.
#include <stdint.h>
#include <string.h>

#include "zyn_internal.h"

namespace {

// The smaller part of each split is sorted first and the larger waits on
// the stack, so at most one entry per halving: 64 covers any 32-bit count.
const int kStackDepth = 64;

struct Range {
    int64_t low, high;
};

void swap_bytes(BYTE *a, BYTE *b, UINT size) {
    if (a == b) return;
    while (size--) {
        BYTE t = *a;
        *a++ = *b;
        *b++ = t;
    }
}

int64_t partition(BYTE *base, UINT size, ZYN_COMPARE compare, int64_t low, int64_t high) {
    BYTE *pivot = base + low * size;  // stays in place until the final exchange
    int64_t i = low, j = high;
    while (i < j) {
        while (i <= high && compare(base + i * size, pivot) <= 0) ++i;
        while (j >= low && compare(base + j * size, pivot) > 0) --j;
        if (i < j) swap_bytes(base + i * size, base + j * size, size);
    }
    // A comparison that finds the pivot greater than itself would run j
    // below the range; keep the split inside it.
    if (j < low) j = low;
    swap_bytes(pivot, base + j * size, size);
    return j;
}

}  // namespace

extern "C" void WINAPI ZYN_UTI_QSort(void *array, UINT count, UINT size, ZYN_COMPARE compare) {
    if (!array || !compare || count < 2 || size == 0) return;
    BYTE *base = static_cast<BYTE *>(array);
    Range stack[kStackDepth];
    int top = 0;
    Range r = {0, (int64_t)count - 1};
    for (;;) {
        while (r.low < r.high) {
            int64_t j = partition(base, size, compare, r.low, r.high);
            Range left = {r.low, j - 1}, right = {j + 1, r.high};
            bool leftSmaller = left.high - left.low < right.high - right.low;
            Range larger = leftSmaller ? right : left;
            r = leftSmaller ? left : right;
            if (larger.low < larger.high) stack[top++] = larger;
        }
        if (top == 0) break;
        r = stack[--top];
    }
}
