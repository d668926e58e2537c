#pragma once
// A page's rows cut into bands worked on at once, one for each core: the
// conversions of a scan touch tens of megabytes, and a desk's computer has
// more than one core idle while the operator waits.

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace imaging {

/// Bands of rows a page is cut into: one for each core (up to four), one
/// alone for a page too small to pay for a thread.
inline int Bands(int rows)
{
    return rows < 256 ? 1 : int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

/// Runs work(band, firstRow, endRow) for each band, the first on this thread.
inline void InBands(int rows, const std::function<void(int, int, int)> &work)
{
    const int bands = Bands(rows);
    std::vector<std::thread> others;
    for (int b = 1; b < bands; ++b)
        others.emplace_back(work, b, rows * b / bands, rows * (b + 1) / bands);
    work(0, 0, rows / bands);
    for (std::thread &t : others)
        t.join();
}

} // namespace imaging
