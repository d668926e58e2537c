#pragma once
// A page's rows cut into bands worked on at once, one for each core: the
// conversions of a scan touch tens of megabytes, and a desk's computer has
// more than one core idle while the operator waits.

#include <algorithm>
#include <atomic>
#include <functional>
#include <sched.h>
#include <system_error>
#include <thread>
#include <vector>

namespace imaging {

/// The cores this process may run on (a benchmark pinned to one, a desk
/// that keeps a core for others), not all the machine has; four at most.
inline int UsableCores()
{
    cpu_set_t cores;
    CPU_ZERO(&cores);
    return std::clamp(sched_getaffinity(0, sizeof cores, &cores) == 0 ? CPU_COUNT(&cores) : 1, 1, 4);
}

/// Runs work(worker) on `workers` threads at once, worker 0 on this one, and
/// returns when all have ended. Where the system has fewer threads to give,
/// fewer run: the work must be shared out by the workers themselves.
inline void OnThreads(int workers, const std::function<void(int)> &work)
{
    std::vector<std::thread> others;
    try {
        for (int w = 1; w < workers; ++w)
            others.emplace_back(work, w);
    } catch (const std::system_error &) {
        // No thread to be had: those there are do the work.
    }
    work(0);
    for (std::thread &t : others)
        t.join();
}

/// Bands of rows a page is cut into: one for each usable core, one alone
/// for a page too small to pay for a thread.
inline int Bands(int rows)
{
    return rows < 256 ? 1 : UsableCores();
}

/// Runs work(band, firstRow, endRow) for each band, each band once.
inline void InBands(int rows, const std::function<void(int, int, int)> &work)
{
    const int bands = Bands(rows);
    std::atomic<int> next{0};
    OnThreads(bands, [&](int) {
        for (int b; (b = next.fetch_add(1)) < bands;)
            work(b, rows * b / bands, rows * (b + 1) / bands);
    });
}

} // namespace imaging
