#pragma once
// Separable picture resampler: a 24-bit picture is filtered horizontally into
// an intermediate picture of the target width, then vertically into the
// target. Seven filter kernels and a table naming them with their support
// widths are exported by name for the host; the package itself never calls
// them. The functions of namespace engResample are exported under their C++
// names.

#include "base/r9Export.h"

#include <QImage>
#include <cstdint>
#include <vector>

/// A filter kernel: the weight of a source pixel at distance x (in source
/// pixels) from the sampling centre.
typedef float (*TFilterProc)(float x);

/// One row of the filter table.
struct TResampleFilter
{
    const char *Name;   ///< display name, ASCII
    TFilterProc Filter; ///< the kernel
    float Width;        ///< support: the kernel is 0 at distances of Width and more
};

/// One contribution of a source pixel (or row) to a destination pixel (or row).
struct TContributor
{
    std::int32_t pixel; ///< source index, always inside the picture
    float weight;
};
using TContributorList = std::vector<TContributor>;

/// The contributions to one destination column (horizontal pass) or row
/// (vertical pass), in the order they are summed.
struct TCList
{
    std::int32_t n = 0;
    TContributorList p;
};
using TCListList = std::vector<TCList>;

/// One 24-bit pixel, bytes in memory order (blue, green, red).
struct TColorRGB
{
    std::uint8_t b, g, r;
};
static_assert(sizeof(TColorRGB) == 3, "a 24-bit pixel is three bytes");

/// Three accumulators, one per byte of a pixel.
struct TRGB
{
    float b, g, r;
};

/// A row of 24-bit pixels.
typedef TColorRGB TRGBList[];

R9_API float BoxFilter(float x);
R9_API float TriangleFilter(float x);
R9_API float HermiteFilter(float x);
R9_API float BellFilter(float x);
R9_API float SplineFilter(float x);
R9_API float Lanczos3Filter(float x);
R9_API float MitchellFilter(float x);

/// The seven filters in order: Box, Triangle, Hermite, Bell, B-Spline,
/// Lanczos3, Mitchell.
R9_API const TResampleFilter ResampleFilters[7];

/// Resizes *Src to the size *Dst has on entry with `filter` of support
/// `fwidth`. Both pictures are converted to 24 bits per pixel
/// (QImage::Format_BGR888) and *Dst is filled. Throws std::runtime_error
/// "Source bitmap too small" for a source without columns or rows, and
/// std::invalid_argument for a missing picture or filter or an unusable
/// width; in every failure case neither picture has been changed.
R9_API void Strecth(QImage *Src, QImage *Dst, TFilterProc filter, float fwidth);

namespace engResample {

/// How the pixel passes may run; the results are the same byte for byte.
struct TResampleOptions
{
    unsigned maxThreads = 0; ///< 0: every core for large pictures; 1: this thread only
    bool allowSimd = true;   ///< use the processor's vector units when it has them
};

/// Strecth with explicit run options (tests and benchmarks).
R9_EXPORT void StrecthWith(QImage *Src, QImage *Dst, TFilterProc filter, float fwidth,
                           const TResampleOptions &options);

/// The contributions for `dstSize` destination positions sampled from
/// `srcSize` source positions. Throws std::invalid_argument when the filter
/// reach does not fit the index range.
R9_EXPORT TCListList BuildContributors(int srcSize, int dstSize, TFilterProc filter, float fwidth);

/// Whether the vector pixel passes can run on this processor.
R9_EXPORT bool SimdAvailable();

} // namespace engResample
