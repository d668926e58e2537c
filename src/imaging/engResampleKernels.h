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
    /// 1 where the position's list is a single weight of exactly 1: its sum
    /// is the source byte itself (a byte times 1 is exact and rounds to
    /// itself), so the position is a plain copy.
    std::vector<std::uint8_t> copy;
    bool allCopies = false; ///< every position is a copy
    int maxCount = 0;
    int maxSpan = 1; ///< largest high - low + 1
};

/// The column lists for the vector pass: every column padded to the same
/// number of taps with zero weights at the end (adding +0 to a sum leaves it
/// as it is), offsets in floats of a widened row, weights of two neighbouring
/// columns interleaved four and four.
struct TPaddedColumns
{
    int taps = 0;
    std::vector<std::int32_t> offset; ///< [column * taps + tap]
    std::vector<float> weight;        ///< [((column / 2) * taps + tap) * 8 + (column % 2) * 4 + lane]
};

TPaddedColumns PadColumns(const TPackedList &columns, int dstWidth);

/// The source picture and the horizontal lists. Rows are reached by address
/// and stride.
struct TPassFrame
{
    const std::uint8_t *src = nullptr;
    std::ptrdiff_t srcStride = 0;
    int srcWidth = 0;
    int dstWidth = 0;
    const TPackedList *columns = nullptr;
    const TPaddedColumns *padded = nullptr; ///< required by the vector pass
};

/// Floats of scratch one pass worker needs (allocated before the passes).
std::size_t ScratchFloats(int srcWidth, int dstWidth);

/// Horizontal pass of source row k into `out` (3 * dstWidth bytes); when
/// every column is a copy, a gather of whole pixels.
void HorizontalRow(const TPassFrame &f, int k, std::uint8_t *out, float *scratch, bool simd);

/// Vertical pass of one destination row of `bytes` bytes: contribution e is
/// row rows[e] of the intermediate picture with weights[e].
void VerticalRow(const std::uint8_t *const *rows, const float *weights, int n, int bytes, std::uint8_t *out,
                 float *scratch, bool simd);

/// Whether this processor runs the vector passes.
bool VectorPassesAvailable();

} // namespace engResample
