#include "imaging/engResample.h"

#include "base/PackageUnits.h"
#include "imaging/engResampleKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <thread>

#ifdef __linux__
#include <sys/mman.h>
#endif

// Kernel arithmetic runs in extended precision; only the values the kernels
// name (and their results) are kept as single.
using Ext = long double;

namespace {

constexpr Ext kPi = 3.141592653589793238462643383279502884L;

float SinC(float v)
{
    if (v == 0.0f)
        return 1.0f;
    const float pv = static_cast<float>(static_cast<Ext>(v) * kPi);
    return static_cast<float>(std::sin(static_cast<Ext>(pv)) / static_cast<Ext>(pv));
}

} // namespace

float BoxFilter(float x)
{
    return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleFilter(float x)
{
    const float t = std::fabs(x);
    return t < 1.0f ? static_cast<float>(1.0L - t) : 0.0f;
}

float HermiteFilter(float x)
{
    const Ext t = std::fabs(x);
    return t < 1.0L ? static_cast<float>((2.0L * t - 3.0L) * t * t + 1.0L) : 0.0f;
}

float BellFilter(float x)
{
    const Ext t = std::fabs(x);
    if (t < 0.5L)
        return static_cast<float>(0.75L - t * t);
    if (t < 1.5L) {
        const float u = static_cast<float>(t - 1.5L);
        return static_cast<float>(0.5L * u * u);
    }
    return 0.0f;
}

float SplineFilter(float x)
{
    const float t = std::fabs(x);
    if (t < 1.0f) {
        const float tt = static_cast<float>(static_cast<Ext>(t) * t);
        return static_cast<float>(0.5L * tt * t - tt + 2.0L / 3.0L);
    }
    if (t < 2.0f) {
        const float u = static_cast<float>(2.0L - t);
        return static_cast<float>(static_cast<Ext>(u) * u * u / 6.0L);
    }
    return 0.0f;
}

float Lanczos3Filter(float x)
{
    const float t = std::fabs(x);
    if (t < 3.0f)
        return static_cast<float>(static_cast<Ext>(SinC(t)) * SinC(static_cast<float>(t / 3.0L)));
    return 0.0f;
}

float MitchellFilter(float x)
{
    const float t = std::fabs(x);
    const float tt = static_cast<float>(static_cast<Ext>(t) * t);
    const Ext te = t;
    if (t < 1.0f)
        return static_cast<float>((7.0L * te * tt - 12.0L * tt + 16.0L / 3.0L) / 6.0L);
    if (t < 2.0f)
        return static_cast<float>((-7.0L / 3.0L * te * tt + 12.0L * tt - 20.0L * te + 32.0L / 3.0L) / 6.0L);
    return 0.0f;
}

const TResampleFilter ResampleFilters[7] = {
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"B-Spline", SplineFilter, 2.0f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
};

// The filter table is constant data: the unit's start and stop only count.
void engResample_Initialization() {}
void engResample_Finalization() {}

namespace engResample {

namespace {

// A filter reach this far beyond any picture, or one that would make the
// lists of one pass this long, is a caller's mistake rather than a picture.
constexpr Ext kMaxReach = 1 << 26;
constexpr Ext kMaxListWork = 4294967296.0L;

[[noreturn]] void WidthOutOfRange()
{
    throw std::invalid_argument("Filter width out of range");
}

// Mirrored once at the edges as the sampling grid expects; a reach wider
// than the picture still lands outside after one mirror and is held at the
// nearest edge pixel.
std::int32_t SourceIndex(Ext j, int size)
{
    Ext m = j;
    if (m < 0)
        m = -m;
    else if (m >= size)
        m = 2.0L * size - 1.0L - m;
    if (m < 0)
        m = 0;
    else if (m > size - 1)
        m = size - 1;
    return static_cast<std::int32_t>(m);
}

TPackedList Pack(const TCListList &lists)
{
    TPackedList packed;
    packed.first.reserve(lists.size() + 1);
    std::size_t total = 0;
    for (const TCList &l : lists)
        total += static_cast<std::size_t>(l.n);
    packed.pixel.reserve(total);
    packed.weight.reserve(total);
    for (const TCList &l : lists) {
        packed.first.push_back(static_cast<std::int32_t>(packed.pixel.size()));
        std::int32_t low = INT32_MAX, high = -1;
        for (int e = 0; e < l.n; ++e) {
            if (l.p[e].weight == 0.0f)
                continue;
            packed.pixel.push_back(l.p[e].pixel);
            packed.weight.push_back(l.p[e].weight);
            low = std::min(low, l.p[e].pixel);
            high = std::max(high, l.p[e].pixel);
        }
        packed.low.push_back(low);
        packed.high.push_back(high);
        const std::size_t count = packed.pixel.size() - static_cast<std::size_t>(packed.first.back());
        packed.copy.push_back(count == 1 && packed.weight.back() == 1.0f ? 1 : 0);
        packed.maxCount = std::max(packed.maxCount, l.n);
        if (high >= low)
            packed.maxSpan = std::max(packed.maxSpan, high - low + 1);
    }
    if (packed.pixel.size() > static_cast<std::size_t>(INT32_MAX))
        WidthOutOfRange();
    packed.allCopies = std::all_of(packed.copy.begin(), packed.copy.end(), [](std::uint8_t c) { return c != 0; });
    packed.first.push_back(static_cast<std::int32_t>(packed.pixel.size()));
    return packed;
}

// Runs fn(begin, end, worker) over [0, count) split among `workers` threads,
// the first part on the calling thread. A thread the system refuses is done
// here instead.
template <typename Fn>
void RunSplit(unsigned workers, int count, Fn fn)
{
    if (workers <= 1 || count < 2) {
        fn(0, count, 0u);
        return;
    }
    workers = std::min<unsigned>(workers, static_cast<unsigned>(count));
    std::vector<std::thread> threads;
    threads.reserve(workers - 1);
    std::vector<unsigned> inline_parts;
    auto bounds = [&](unsigned w) { return static_cast<int>(static_cast<long long>(count) * w / workers); };
    for (unsigned w = 1; w < workers; ++w) {
        try {
            threads.emplace_back(fn, bounds(w), bounds(w + 1), w);
        } catch (const std::system_error &) {
            inline_parts.push_back(w);
        }
    }
    fn(bounds(0), bounds(1), 0u);
    for (unsigned w : inline_parts)
        fn(bounds(w), bounds(w + 1), w);
    for (std::thread &t : threads)
        t.join();
}

unsigned WorkersFor(const TResampleOptions &options, double work)
{
    // Below about a million multiply-adds a second thread costs more than it saves.
    if (options.maxThreads == 1 || work < 1.0e6)
        return 1;
    unsigned n = std::max(1u, std::thread::hardware_concurrency());
    if (options.maxThreads != 0)
        n = std::min(n, options.maxThreads);
    return std::min(n, 16u);
}

QImage Allocate(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    if (width > 0 && height > 0 && image.isNull())
        throw std::runtime_error("Not enough memory for the picture");
    return image;
}

// A large target not yet written (ours, or one the caller has just made) is
// faulted in by 2 MB pages rather than 4 KB ones: with 4 KB pages the first
// touch of a 100 MB page enlarged to double size costs several times the
// filtering itself, most of all on a virtual machine. Memory already in use
// keeps its pages and contents; the advice changes no byte.
void AdviseLargePages(std::uint8_t *bits, std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t page = std::uintptr_t(1) << 21;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(bits) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(bits) + size) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)bits;
    (void)size;
#endif
}

// What one worker of the passes owns, all allocated before the passes run.
// The intermediate picture is made row by row as the vertical pass needs it
// and kept in a ring just tall enough for one destination row's
// contributions, so it stays in the cache and never exists whole.
struct TWorker
{
    std::vector<std::uint8_t> ring;
    std::vector<const std::uint8_t *> rowAddress;
    std::vector<float> scratch;
};

struct TVerticalFrame
{
    const TPassFrame *horizontal = nullptr;
    const TPackedList *rows = nullptr;
    std::uint8_t *dst = nullptr;
    std::ptrdiff_t dstStride = 0;
    int ringRows = 1;
    std::size_t ringStride = 0;
    bool simd = true;
};

void RunRows(const TVerticalFrame &v, int begin, int end, TWorker &w)
{
    const TPackedList &rows = *v.rows;
    const int bytes = 3 * v.horizontal->dstWidth;
    auto slot = [&](int row) { return w.ring.data() + static_cast<std::size_t>(row % v.ringRows) * v.ringStride; };
    int validLow = 0, validHigh = -1; // the rows the ring holds
    for (int i = begin; i < end; ++i) {
        const int e0 = rows.first[i], e1 = rows.first[i + 1];
        if (e0 < e1) {
            const int low = rows.low[i], high = rows.high[i];
            if (low < validLow || high > validHigh) {
                int from = low;
                if (low >= validLow && low <= validHigh + 1)
                    from = validHigh + 1;
                else
                    validLow = low;
                for (int k = from; k <= high; ++k)
                    HorizontalRow(*v.horizontal, k, slot(k), w.scratch.data(), v.simd);
                validHigh = high;
                validLow = std::max(validLow, high - v.ringRows + 1);
            }
            for (int e = e0; e < e1; ++e)
                w.rowAddress[e - e0] = slot(rows.pixel[e]);
        }
        std::uint8_t *out = v.dst + i * v.dstStride;
        if (rows.copy[i])
            std::memcpy(out, w.rowAddress[0], static_cast<std::size_t>(bytes));
        else
            VerticalRow(w.rowAddress.data(), rows.weight.data() + e0, e1 - e0, bytes, out, w.scratch.data(), v.simd);
    }
}

} // namespace

TCListList BuildContributors(int srcSize, int dstSize, TFilterProc filter, float fwidth)
{
    if (!(fwidth >= 0.0f) || !std::isfinite(fwidth))
        WidthOutOfRange();
    TCListList lists(static_cast<std::size_t>(std::max(dstSize, 0)));
    if (dstSize <= 0 || srcSize <= 0)
        return lists;

    // First and last pixel centres coincide. A single destination position
    // has no last one of its own; it is sampled as a single source one is.
    const float scale = (srcSize == 1 || dstSize == 1)
                            ? static_cast<float>(static_cast<Ext>(dstSize) / srcSize)
                            : static_cast<float>(static_cast<Ext>(dstSize - 1) / (srcSize - 1));
    const bool shrinking = scale < 1.0f;
    const float width = shrinking ? static_cast<float>(static_cast<Ext>(fwidth) / scale) : fwidth;
    const float fscale = shrinking ? static_cast<float>(1.0L / scale) : 1.0f;
    if (!std::isfinite(width) || width > kMaxReach || (2.0L * width + 3.0L) * dstSize > kMaxListWork)
        WidthOutOfRange();
    const std::size_t room = static_cast<std::size_t>(std::trunc(2.0L * width + 1.0L));

    for (int i = 0; i < dstSize; ++i) {
        TCList &list = lists[static_cast<std::size_t>(i)];
        const float center = static_cast<float>(static_cast<Ext>(i) / scale);
        const Ext left = std::floor(static_cast<Ext>(center) - width);
        const Ext right = std::ceil(static_cast<Ext>(center) + width);
        list.p.reserve(room);
        for (Ext j = left; j <= right; j += 1.0L) {
            float weight;
            if (shrinking)
                weight = static_cast<float>(
                    static_cast<Ext>(filter(static_cast<float>((center - j) / fscale))) / fscale);
            else
                weight = filter(static_cast<float>(center - j));
            if (weight == 0.0f)
                continue;
            // A growable list: a filter with more nonzero weights than its
            // width promises still never writes past the room it has.
            list.p.push_back({SourceIndex(j, srcSize), weight});
            ++list.n;
        }
    }
    return lists;
}

bool SimdAvailable()
{
    return VectorPassesAvailable();
}

void StrecthWith(QImage *Src, QImage *Dst, TFilterProc filter, float fwidth, const TResampleOptions &options)
{
    if (Src == nullptr || Dst == nullptr)
        throw std::invalid_argument("Missing picture");
    if (filter == nullptr)
        throw std::invalid_argument("Missing filter");
    const int dstWidth = Dst->width();
    const int dstHeight = Dst->height();
    const int srcWidth = Src->width();
    const int srcHeight = Src->height();
    if (srcWidth < 1 || srcHeight < 1)
        throw std::runtime_error("Source bitmap too small");

    // Everything that can fail comes first, so a failure leaves both
    // pictures as they were.
    const TPackedList columns = Pack(BuildContributors(srcWidth, dstWidth, filter, fwidth));
    const TPackedList rows = Pack(BuildContributors(srcHeight, dstHeight, filter, fwidth));

    QImage src = Src->format() == QImage::Format_BGR888 ? *Src : Src->convertToFormat(QImage::Format_BGR888);
    if (src.isNull())
        throw std::runtime_error("Not enough memory for the picture");
    // A target whose pixels another picture shares would be copied whole
    // just to be overwritten; a new one costs less and cannot fail later.
    const bool reuseDst =
        Dst != Src && Dst->format() == QImage::Format_BGR888 && !Dst->isNull() && Dst->isDetached();
    QImage dst = reuseDst ? QImage() : Allocate(dstWidth, dstHeight);

    const double work = static_cast<double>(dstWidth) * 3.0 *
                        (static_cast<double>(srcHeight) * std::max(columns.maxCount, 1) +
                         static_cast<double>(dstHeight) * std::max(rows.maxCount, 1));
    const unsigned workers = std::min<unsigned>(WorkersFor(options, work), static_cast<unsigned>(std::max(dstHeight, 1)));
    TVerticalFrame vertical;
    vertical.rows = &rows;
    vertical.ringRows = rows.maxSpan;
    vertical.ringStride = (static_cast<std::size_t>(3) * static_cast<std::size_t>(dstWidth) + 63) & ~std::size_t(63);
    vertical.simd = options.allowSimd;
    TPaddedColumns padded;
    if (options.allowSimd && VectorPassesAvailable() && !columns.allCopies)
        padded = PadColumns(columns, dstWidth);
    std::vector<TWorker> pool(workers);
    for (TWorker &w : pool) {
        w.ring.resize(vertical.ringStride * static_cast<std::size_t>(vertical.ringRows));
        w.rowAddress.resize(static_cast<std::size_t>(std::max(rows.maxCount, 1)));
        w.scratch.resize(ScratchFloats(srcWidth, dstWidth));
    }

    // Nothing below throws.
    if (reuseDst)
        dst = std::move(*Dst);
    if (!dst.isNull())
        AdviseLargePages(dst.bits(), static_cast<std::size_t>(dst.sizeInBytes()));
    if (dstWidth > 0 && dstHeight > 0) {
        TPassFrame horizontal;
        horizontal.src = src.constBits();
        horizontal.srcStride = src.bytesPerLine();
        horizontal.srcWidth = srcWidth;
        horizontal.dstWidth = dstWidth;
        horizontal.columns = &columns;
        horizontal.padded = &padded;
        vertical.horizontal = &horizontal;
        vertical.dst = dst.bits();
        vertical.dstStride = dst.bytesPerLine();
        RunSplit(workers, dstHeight, [&](int begin, int end, unsigned w) { RunRows(vertical, begin, end, pool[w]); });
    }
    *Src = std::move(src);
    *Dst = std::move(dst);
}

} // namespace engResample

void Strecth(QImage *Src, QImage *Dst, TFilterProc filter, float fwidth)
{
    engResample::StrecthWith(Src, Dst, filter, fwidth, engResample::TResampleOptions());
}
