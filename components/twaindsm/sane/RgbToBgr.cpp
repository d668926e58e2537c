#include "RgbToBgr.h"

#include <array>
#include <cstdint>

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

/// For sixteen pixels (48 bytes, three 16-byte blocks): which byte of input
/// block `from` lands at each byte of output block `to` (-1: none of it).
constexpr std::array<std::array<std::array<int8_t, 16>, 3>, 3> blockOrders()
{
    std::array<std::array<std::array<int8_t, 16>, 3>, 3> orders{};
    for (int to = 0; to < 3; ++to)
        for (int from = 0; from < 3; ++from)
            for (int t = 0; t < 16; ++t) {
                const int k = 16 * to + t, source = 3 * (k / 3) + 2 - k % 3;
                orders[to][from][t] = int8_t(source / 16 == from ? source % 16 : -1);
            }
    return orders;
}
constexpr auto BlockOrders = blockOrders();

/// Rows as wide as a page's go sixteen pixels a step into 16-byte aligned
/// stores that bypass the cache: the DIB is far larger than any cache, and
/// a store that does not first read its line is cheaper. Starts where the
/// output is aligned (pixel by pixel before that); answers where it ended.
__attribute__((target("ssse3"))) std::size_t swapStreamed(const uint8_t *rgb, uint8_t *bgr, std::size_t pixels)
{
    std::size_t x = 0;
    while (x < pixels && (reinterpret_cast<std::uintptr_t>(bgr + 3 * x) & 15u) != 0)
        ++x;
    swapPixels(rgb, bgr, 0, x);
    __m128i order[3][3];
    for (int to = 0; to < 3; ++to)
        for (int from = 0; from < 3; ++from)
            order[to][from] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(BlockOrders[to][from].data()));
    for (; x + 16 <= pixels; x += 16) {
        const uint8_t *in = rgb + 3 * x;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 32));
        auto *out = reinterpret_cast<__m128i *>(bgr + 3 * x);
        _mm_stream_si128(out, _mm_or_si128(_mm_shuffle_epi8(a, order[0][0]), _mm_shuffle_epi8(b, order[0][1])));
        _mm_stream_si128(out + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, order[1][0]),
                                                            _mm_shuffle_epi8(b, order[1][1])),
                                               _mm_shuffle_epi8(c, order[1][2])));
        _mm_stream_si128(out + 2, _mm_or_si128(_mm_shuffle_epi8(b, order[2][1]), _mm_shuffle_epi8(c, order[2][2])));
    }
    _mm_sfence(); // the line is seen whole before the page is handed on
    return x;
}

/// Lines at least this wide are a page's.
constexpr std::size_t StreamedLinePixels = 1024;

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
        done = pixels >= StreamedLinePixels ? swapStreamed(rgb, bgr, pixels) : swapShuffled(rgb, bgr, pixels);
#endif
    swapPixels(rgb, bgr, done, pixels);
}

} // namespace twainsane
