/* Red-blue swap of 3-byte pixels: a byte shuffle of four pixels at a time
   where the processor has one, else a word at a time. */
#include "codecs/ppm/ppm_pixels.h"

#include <stdint.h>
#include <string.h>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PPM_HAVE_SHUFFLE 1
#include <tmmintrin.h>
#else
#define PPM_HAVE_SHUFFLE 0
#endif

/* A pixel at a time through one 4-byte word (little-endian): each store
   spills a byte into the next pixel, which the next store rewrites; the
   last pixel goes by bytes. */
static void swap_by_words(const BYTE *src, BYTE *dst, DWORD width) {
    DWORD x = 0;
    for (; x + 1 < width; x++, src += 3, dst += 3) {
        uint32_t w;
        memcpy(&w, src, 4);
        w = (w & 0x0000FF00u) | (w << 16 & 0x00FF0000u) | (w >> 16 & 0x000000FFu);
        memcpy(dst, &w, 4);
    }
    if (x < width) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

#if PPM_HAVE_SHUFFLE
/* Sixteen bytes in and out per four pixels: the last four bytes are copied
   unchanged and rewritten by the next step, so a step needs six pixels
   (18 bytes) left in the row. */
__attribute__((target("ssse3"))) static void swap_by_shuffle(const BYTE *src, BYTE *dst, DWORD width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    DWORD x = 0;
    for (; x + 18 <= width; x += 16, src += 48, dst += 48) {
        __m128i a = _mm_loadu_si128((const __m128i *)src);
        __m128i b = _mm_loadu_si128((const __m128i *)(src + 12));
        __m128i c = _mm_loadu_si128((const __m128i *)(src + 24));
        __m128i d = _mm_loadu_si128((const __m128i *)(src + 36));
        _mm_storeu_si128((__m128i *)dst, _mm_shuffle_epi8(a, order));
        _mm_storeu_si128((__m128i *)(dst + 12), _mm_shuffle_epi8(b, order));
        _mm_storeu_si128((__m128i *)(dst + 24), _mm_shuffle_epi8(c, order));
        _mm_storeu_si128((__m128i *)(dst + 36), _mm_shuffle_epi8(d, order));
    }
    for (; x + 6 <= width; x += 4, src += 12, dst += 12)
        _mm_storeu_si128((__m128i *)dst, _mm_shuffle_epi8(_mm_loadu_si128((const __m128i *)src), order));
    swap_by_words(src, dst, width - x);
}

static int have_ssse3(void) {
    static int known = -1;
    if (known < 0) {
        __builtin_cpu_init();
        known = __builtin_cpu_supports("ssse3") != 0;
    }
    return known;
}
#endif

extern "C" void swap_red_blue_copy(const BYTE *src, BYTE *dst, DWORD width) {
#if PPM_HAVE_SHUFFLE
    if (have_ssse3()) {
        swap_by_shuffle(src, dst, width);
        return;
    }
#endif
    swap_by_words(src, dst, width);
}
