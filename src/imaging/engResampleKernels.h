#pragma once
// The two pixel passes of the resampler over raw rows. Every output byte is
// the contributions summed in list order, each product added to its
// accumulator exactly and the sum rounded once to single precision (a fused
// multiply-add), then clamped to 0..255 and rounded half to even. The scalar
// and the vector versions do exactly these operations, so they agree byte for
// byte on every processor.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engResample {

/// Contributor lists packed for the passes: the contributions of destination
/// position i are entries first[i] .. first[i + 1] - 1.
struct TPackedList
{
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> pixel;
    std::vector<float> weight;
    std::vector<std::int32_t> low, high; ///< smallest and largest index of each position
    int maxCount = 0;
    int maxSpan = 1; ///< largest high - low + 1
};

/// The source picture and the horizontal lists. Rows are reached by address
/// and stride.
struct TPassFrame
{
    const std::uint8_t *src = nullptr;
    std::ptrdiff_t srcStride = 0;
    int srcWidth = 0;
    int dstWidth = 0;
    const TPackedList *columns = nullptr;
};

/// Floats of scratch one pass worker needs (allocated before the passes).
std::size_t ScratchFloats(int srcWidth, int dstWidth);

/// Horizontal pass of source row k into `out` (3 * dstWidth bytes).
void HorizontalRow(const TPassFrame &f, int k, std::uint8_t *out, float *scratch, bool simd);

/// Vertical pass of one destination row of `bytes` bytes: contribution e is
/// row rows[e] of the intermediate picture with weights[e].
void VerticalRow(const std::uint8_t *const *rows, const float *weights, int n, int bytes, std::uint8_t *out,
                 float *scratch, bool simd);

/// Whether this processor runs the vector passes.
bool VectorPassesAvailable();

} // namespace engResample
