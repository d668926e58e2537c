#pragma once
// A page's rows cut into bands worked on at once, one for each core: the
// conversions of a scan touch tens of megabytes, and a desk's computer has
// more than one core idle while the operator waits.

#include <algorithm>
#include <functional>
#include <sched.h>
#include <system_error>
#include <thread>
#include <vector>

namespace imaging {

/// Bands of rows a page is cut into: one for each core (up to four), one
/// alone for a page too small to pay for a thread.
inline int Bands(int rows)
{
    if (rows < 256)
        return 1;
    cpu_set_t cores; // the cores this process may run on
    CPU_ZERO(&cores);
    return std::clamp(sched_getaffinity(0, sizeof cores, &cores) == 0 ? CPU_COUNT(&cores) : 1, 1, 4);
}

/// Runs work(band, firstRow, endRow) for each band, the first on this thread.
inline void InBands(int rows, const std::function<void(int, int, int)> &work)
{
    const int bands = Bands(rows);
    std::vector<std::thread> others;
    int started = 1;
    try {
        for (; started < bands; ++started)
            others.emplace_back(work, started, rows * started / bands, rows * (started + 1) / bands);
    } catch (const std::system_error &) {
        // No thread to be had: the bands left are worked on here.
    }
    work(0, 0, rows / bands);
    for (int b = started; b < bands; ++b)
        work(b, rows * b / bands, rows * (b + 1) / bands);
    for (std::thread &t : others)
        t.join();
}

} // namespace imaging
