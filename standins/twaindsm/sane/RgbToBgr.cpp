#include "RgbToBgr.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TWAINSANE_SHUFFLE 1
#endif

namespace twainsane {

namespace {

void swapPixels(const uint8_t *rgb, uint8_t *bgr, std::size_t from, std::size_t to)
{
    for (std::size_t x = from; x < to; ++x) {
        bgr[3 * x] = rgb[3 * x + 2];
        bgr[3 * x + 1] = rgb[3 * x + 1];
        bgr[3 * x + 2] = rgb[3 * x];
    }
}

#ifdef TWAINSANE_SHUFFLE
// Five pixels a step, each step loading and storing sixteen bytes: the
// sixteenth is the next pixel's first, stored wrong and put right by the
// next step, so a step needs a pixel beyond its five (and the last pixels
// go one by one).
__attribute__((target("ssse3"))) std::size_t swapShuffled(const uint8_t *rgb, uint8_t *bgr, std::size_t pixels)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::size_t x = 0;
    for (; x + 6 <= pixels; x += 5) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rgb + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(bgr + 3 * x), _mm_shuffle_epi8(in, order));
    }
    return x;
}

bool hasShuffle()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

void RgbToBgr(const uint8_t *rgb, uint8_t *bgr, std::size_t pixels)
{
    std::size_t done = 0;
#ifdef TWAINSANE_SHUFFLE
    if (hasShuffle())
        done = swapShuffled(rgb, bgr, pixels);
#endif
    swapPixels(rgb, bgr, done, pixels);
}

} // namespace twainsane
