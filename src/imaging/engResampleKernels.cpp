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

void HorizontalRowsScalar(const TPassFrame &f, int rowBegin, int rowEnd)
{
    const TPackedList &c = *f.columns;
    for (int k = rowBegin; k < rowEnd; ++k) {
        const std::uint8_t *in = f.src + k * f.srcStride;
        std::uint8_t *out = f.work + k * f.workStride;
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
}

void VerticalRowsScalar(const TPassFrame &f, int rowBegin, int rowEnd, float *acc)
{
    const TPackedList &r = *f.rows;
    const int bytes = 3 * f.dstWidth;
    for (int i = rowBegin; i < rowEnd; ++i) {
        std::fill(acc, acc + bytes, 0.0f);
        for (int e = r.first[i]; e < r.first[i + 1]; ++e) {
            const std::uint8_t *in = f.work + r.pixel[e] * f.workStride;
            const float w = r.weight[e];
            for (int x = 0; x < bytes; ++x)
                acc[x] = std::fma(static_cast<float>(in[x]), w, acc[x]);
        }
        std::uint8_t *out = f.dst + i * f.dstStride;
        for (int x = 0; x < bytes; ++x)
            out[x] = ToByte(acc[x]);
    }
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

// Each source row is widened to floats once; a destination pixel then takes
// its three channels (and one lane of the next pixel, ignored) with one load
// and one fused multiply-add per contribution.
R9_VECTOR void HorizontalRowsVector(const TPassFrame &f, int rowBegin, int rowEnd, float *row)
{
    const TPackedList &c = *f.columns;
    const int srcBytes = 3 * f.srcWidth;
    const std::int32_t *first = c.first.data();
    const std::int32_t *pixel = c.pixel.data();
    const float *weight = c.weight.data();
    row[srcBytes] = 0.0f; // the lane read past the last pixel
    for (int k = rowBegin; k < rowEnd; ++k) {
        const std::uint8_t *in = f.src + k * f.srcStride;
        int x = 0;
        for (; x + 8 <= srcBytes; x += 8)
            _mm256_storeu_ps(row + x, Bytes8(in + x));
        for (; x < srcBytes; ++x)
            row[x] = static_cast<float>(in[x]);

        std::uint8_t *out = f.work + k * f.workStride;
        for (int i = 0; i < f.dstWidth; ++i) {
            __m128 acc = _mm_setzero_ps();
            for (int e = first[i]; e < first[i + 1]; ++e)
                acc = _mm_fmadd_ps(_mm_loadu_ps(row + 3 * pixel[e]), _mm_set1_ps(weight[e]), acc);
            acc = _mm_min_ps(_mm_max_ps(acc, _mm_setzero_ps()), _mm_set1_ps(255.0f));
            acc = _mm_round_ps(acc, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
            const __m128i v = _mm_cvttps_epi32(acc);
            const __m128i b = _mm_packus_epi16(_mm_packus_epi32(v, v), _mm_setzero_si128());
            const std::uint32_t word = static_cast<std::uint32_t>(_mm_cvtsi128_si32(b));
            std::memcpy(out + 3 * i, &word, 3);
        }
    }
}

// Every byte of a destination row has the same contributions, so the row is
// summed as one long vector, 32 bytes at a time kept in registers.
R9_VECTOR void VerticalRowsVector(const TPassFrame &f, int rowBegin, int rowEnd)
{
    const TPackedList &r = *f.rows;
    const int bytes = 3 * f.dstWidth;
    for (int i = rowBegin; i < rowEnd; ++i) {
        const int e0 = r.first[i], e1 = r.first[i + 1];
        std::uint8_t *out = f.dst + i * f.dstStride;
        int x = 0;
        for (; x + 32 <= bytes; x += 32) {
            __m256 a = _mm256_setzero_ps(), b = a, c = a, d = a;
            for (int e = e0; e < e1; ++e) {
                const std::uint8_t *in = f.work + r.pixel[e] * f.workStride + x;
                const __m256 w = _mm256_set1_ps(r.weight[e]);
                a = _mm256_fmadd_ps(Bytes8(in), w, a);
                b = _mm256_fmadd_ps(Bytes8(in + 8), w, b);
                c = _mm256_fmadd_ps(Bytes8(in + 16), w, c);
                d = _mm256_fmadd_ps(Bytes8(in + 24), w, d);
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x), Pack32(a, b, c, d));
        }
        for (; x < bytes; ++x) {
            float a = 0.0f;
            for (int e = e0; e < e1; ++e)
                a = std::fma(static_cast<float>(f.work[r.pixel[e] * f.workStride + x]), r.weight[e], a);
            out[x] = ToByte(a);
        }
    }
}

#endif

} // namespace

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

void HorizontalRows(const TPassFrame &f, int rowBegin, int rowEnd, float *scratch, bool simd)
{
#ifdef R9_RESAMPLE_X86
    if (simd && VectorPassesAvailable()) {
        HorizontalRowsVector(f, rowBegin, rowEnd, scratch);
        return;
    }
#endif
    (void)scratch;
    (void)simd;
    HorizontalRowsScalar(f, rowBegin, rowEnd);
}

void VerticalRows(const TPassFrame &f, int rowBegin, int rowEnd, float *scratch, bool simd)
{
#ifdef R9_RESAMPLE_X86
    if (simd && VectorPassesAvailable()) {
        VerticalRowsVector(f, rowBegin, rowEnd);
        return;
    }
#endif
    (void)simd;
    VerticalRowsScalar(f, rowBegin, rowEnd, scratch);
}

} // namespace engResample
