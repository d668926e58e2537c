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
    int maxCount = 0;
};

/// One call's pictures and lists. Rows are reached by address and stride.
struct TPassFrame
{
    const std::uint8_t *src = nullptr;
    std::ptrdiff_t srcStride = 0;
    int srcWidth = 0;
    std::uint8_t *work = nullptr;
    std::ptrdiff_t workStride = 0;
    std::uint8_t *dst = nullptr;
    std::ptrdiff_t dstStride = 0;
    int dstWidth = 0;
    const TPackedList *columns = nullptr;
    const TPackedList *rows = nullptr;
};

/// Floats of scratch one pass worker needs (allocated before the passes).
std::size_t ScratchFloats(int srcWidth, int dstWidth);

/// Horizontal pass of source rows [rowBegin, rowEnd) into the work picture.
void HorizontalRows(const TPassFrame &f, int rowBegin, int rowEnd, float *scratch, bool simd);

/// Vertical pass of destination rows [rowBegin, rowEnd) from the work picture.
void VerticalRows(const TPassFrame &f, int rowBegin, int rowEnd, float *scratch, bool simd);

/// Whether this processor runs the vector passes.
bool VectorPassesAvailable();

} // namespace engResample
