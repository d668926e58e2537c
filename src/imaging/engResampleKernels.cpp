#include "imaging/engResampleKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define R9_RESAMPLE_X86 1
#endif

namespace engResample {

namespace {

// Clamp, then round half to even without depending on the rounding mode
// the host may have set.
inline std::uint8_t ToByte(float v)
{
    if (v > 255.0f)
        return 255;
    if (!(v >= 0.0f))
        return 0;
    float f = std::floor(v);
    const float d = v - f; // exact: v < 256
    if (d > 0.5f || (d == 0.5f && (static_cast<int>(f) & 1) != 0))
        f += 1.0f;
    return static_cast<std::uint8_t>(f);
}

void HorizontalRowScalar(const TPassFrame &f, int k, std::uint8_t *out)
{
    const TPackedList &c = *f.columns;
    const std::uint8_t *in = f.src + k * f.srcStride;
    for (int i = 0; i < f.dstWidth; ++i) {
        float a0 = 0.0f, a1 = 0.0f, a2 = 0.0f;
        for (int e = c.first[i]; e < c.first[i + 1]; ++e) {
            const std::uint8_t *px = in + 3 * static_cast<std::ptrdiff_t>(c.pixel[e]);
            const float w = c.weight[e];
            a0 = std::fma(static_cast<float>(px[0]), w, a0);
            a1 = std::fma(static_cast<float>(px[1]), w, a1);
            a2 = std::fma(static_cast<float>(px[2]), w, a2);
        }
        out[3 * i] = ToByte(a0);
        out[3 * i + 1] = ToByte(a1);
        out[3 * i + 2] = ToByte(a2);
    }
}

// Every column a copy (a box filter enlarging, or equal widths): whole
// pixels are picked, nothing is summed.
void GatherRow(const TPassFrame &f, int k, std::uint8_t *out)
{
    const TPackedList &c = *f.columns;
    const std::uint8_t *in = f.src + k * f.srcStride;
    const std::int32_t *pixel = c.pixel.data(); // one entry per column
    for (int i = 0; i < f.dstWidth; ++i, out += 3) {
        const std::uint8_t *px = in + 3 * static_cast<std::ptrdiff_t>(pixel[i]);
        out[0] = px[0];
        out[1] = px[1];
        out[2] = px[2];
    }
}

void VerticalRowScalar(const std::uint8_t *const *rows, const float *weights, int n, int bytes, std::uint8_t *out,
                       float *acc)
{
    std::fill(acc, acc + bytes, 0.0f);
    for (int e = 0; e < n; ++e) {
        const std::uint8_t *in = rows[e];
        const float w = weights[e];
        for (int x = 0; x < bytes; ++x)
            acc[x] = std::fma(static_cast<float>(in[x]), w, acc[x]);
    }
    for (int x = 0; x < bytes; ++x)
        out[x] = ToByte(acc[x]);
}

#ifdef R9_RESAMPLE_X86

#define R9_VECTOR __attribute__((target("avx2,fma")))

R9_VECTOR inline __m256 Clamp8(__m256 v)
{
    v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    return _mm256_round_ps(v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
}

// 32 accumulators to 32 bytes in order.
R9_VECTOR inline __m256i Pack32(__m256 a, __m256 b, __m256 c, __m256 d)
{
    const __m256i ab = _mm256_packus_epi32(_mm256_cvttps_epi32(Clamp8(a)), _mm256_cvttps_epi32(Clamp8(b)));
    const __m256i cd = _mm256_packus_epi32(_mm256_cvttps_epi32(Clamp8(c)), _mm256_cvttps_epi32(Clamp8(d)));
    const __m256i bytes = _mm256_packus_epi16(ab, cd);
    return _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

R9_VECTOR inline __m256 Bytes8(const std::uint8_t *p)
{
    return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p))));
}

// The source row is widened to floats once; a destination pixel then takes
// its three channels (and one lane of the next pixel, ignored) with one load
// and one fused multiply-add per contribution.
R9_VECTOR void HorizontalRowVector(const TPassFrame &f, int k, std::uint8_t *out, float *row)
{
    const int srcBytes = 3 * f.srcWidth;
    const std::uint8_t *in = f.src + k * f.srcStride;
    int x = 0;
    for (; x + 8 <= srcBytes; x += 8)
        _mm256_storeu_ps(row + x, Bytes8(in + x));
    for (; x < srcBytes; ++x)
        row[x] = static_cast<float>(in[x]);
    row[srcBytes] = 0.0f; // the lane read past the last pixel

    // Two columns at a time, one in each half of a register.
    const TPaddedColumns &pc = *f.padded;
    const int taps = pc.taps;
    const std::int32_t *offset = pc.offset.data();
    const float *weight8 = pc.weight.data();
    const __m256 zero = _mm256_setzero_ps(), top = _mm256_set1_ps(255.0f);
    int i = 0;
    for (; i + 2 < f.dstWidth; i += 2) { // the pixel after the pair absorbs the fourth byte
        const std::int32_t *o0 = offset + static_cast<std::ptrdiff_t>(i) * taps;
        const std::int32_t *o1 = o0 + taps;
        const float *w = weight8 + static_cast<std::ptrdiff_t>(i / 2) * taps * 8;
        __m256 acc = zero;
        for (int e = 0; e < taps; ++e) {
            const __m256 v = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(row + o0[e])),
                                                  _mm_loadu_ps(row + o1[e]), 1);
            acc = _mm256_fmadd_ps(v, _mm256_loadu_ps(w + 8 * e), acc);
        }
        acc = _mm256_round_ps(_mm256_min_ps(_mm256_max_ps(acc, zero), top), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
        const __m256i v = _mm256_cvttps_epi32(acc);
        const __m256i b = _mm256_packus_epi16(_mm256_packus_epi32(v, v), _mm256_setzero_si256());
        const std::uint32_t left = static_cast<std::uint32_t>(_mm256_extract_epi32(b, 0));
        const std::uint32_t right = static_cast<std::uint32_t>(_mm256_extract_epi32(b, 4));
        std::memcpy(out + 3 * i, &left, 4);
        std::memcpy(out + 3 * i + 3, &right, 4);
    }
    for (; i < f.dstWidth; ++i) {
        const std::int32_t *o = offset + static_cast<std::ptrdiff_t>(i) * taps;
        const float *w = weight8 + static_cast<std::ptrdiff_t>(i / 2) * taps * 8 + (i % 2) * 4;
        __m128 acc = _mm_setzero_ps();
        for (int e = 0; e < taps; ++e)
            acc = _mm_fmadd_ps(_mm_loadu_ps(row + o[e]), _mm_loadu_ps(w + 8 * e), acc);
        acc = _mm_round_ps(_mm_min_ps(_mm_max_ps(acc, _mm_setzero_ps()), _mm_set1_ps(255.0f)),
                           _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
        const __m128i v = _mm_cvttps_epi32(acc);
        const __m128i b = _mm_packus_epi16(_mm_packus_epi32(v, v), _mm_setzero_si128());
        const std::uint32_t word = static_cast<std::uint32_t>(_mm_cvtsi128_si32(b));
        std::memcpy(out + 3 * i, &word, 3);
    }
}

// Every byte of a destination row has the same contributions, so the row is
// summed as one long vector, 32 bytes at a time kept in registers.
R9_VECTOR void VerticalRowVector(const std::uint8_t *const *rows, const float *weights, int n, int bytes,
                                 std::uint8_t *out)
{
    int x = 0;
    for (; x + 32 <= bytes; x += 32) {
        __m256 a = _mm256_setzero_ps(), b = a, c = a, d = a;
        for (int e = 0; e < n; ++e) {
            const std::uint8_t *in = rows[e] + x;
            const __m256 w = _mm256_set1_ps(weights[e]);
            a = _mm256_fmadd_ps(Bytes8(in), w, a);
            b = _mm256_fmadd_ps(Bytes8(in + 8), w, b);
            c = _mm256_fmadd_ps(Bytes8(in + 16), w, c);
            d = _mm256_fmadd_ps(Bytes8(in + 24), w, d);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x), Pack32(a, b, c, d));
    }
    for (; x < bytes; ++x) {
        float a = 0.0f;
        for (int e = 0; e < n; ++e)
            a = std::fma(static_cast<float>(rows[e][x]), weights[e], a);
        out[x] = ToByte(a);
    }
}

#endif

} // namespace

TPaddedColumns PadColumns(const TPackedList &columns, int dstWidth)
{
    TPaddedColumns padded;
    int taps = 0;
    for (int i = 0; i < dstWidth; ++i)
        taps = std::max(taps, columns.first[i + 1] - columns.first[i]);
    padded.taps = taps;
    const std::size_t width = static_cast<std::size_t>(dstWidth);
    padded.offset.assign(width * taps, 0);
    padded.weight.assign((width + 1) / 2 * taps * 8, 0.0f);
    for (int i = 0; i < dstWidth; ++i)
        for (int e = 0; e < columns.first[i + 1] - columns.first[i]; ++e) {
            const int k = columns.first[i] + e;
            padded.offset[static_cast<std::size_t>(i) * taps + e] = 3 * columns.pixel[k];
            float *w = &padded.weight[(static_cast<std::size_t>(i / 2) * taps + e) * 8 + (i % 2) * 4];
            std::fill(w, w + 4, columns.weight[k]);
        }
    return padded;
}

std::size_t ScratchFloats(int srcWidth, int dstWidth)
{
    return static_cast<std::size_t>(3) * static_cast<std::size_t>(std::max(srcWidth, dstWidth)) + 8;
}

bool VectorPassesAvailable()
{
#ifdef R9_RESAMPLE_X86
    static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return available;
#else
    return false;
#endif
}

void HorizontalRow(const TPassFrame &f, int k, std::uint8_t *out, float *scratch, bool simd)
{
    if (f.columns->allCopies) {
        GatherRow(f, k, out);
        return;
    }
#ifdef R9_RESAMPLE_X86
    if (simd && VectorPassesAvailable()) {
        HorizontalRowVector(f, k, out, scratch);
        return;
    }
#endif
    (void)scratch;
    (void)simd;
    HorizontalRowScalar(f, k, out);
}

void VerticalRow(const std::uint8_t *const *rows, const float *weights, int n, int bytes, std::uint8_t *out,
                 float *scratch, bool simd)
{
#ifdef R9_RESAMPLE_X86
    if (simd && VectorPassesAvailable()) {
        VerticalRowVector(rows, weights, n, bytes, out);
        return;
    }
#endif
    (void)simd;
    VerticalRowScalar(rows, weights, n, bytes, out, scratch);
}

} // namespace engResample
