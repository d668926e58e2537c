#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <sched.h>
#include <system_error>
#include <thread>
#include <vector>

namespace mrz {

namespace {

std::atomic<int> g_limit{0};

} // namespace

int Workers()
{
#ifdef MRZ_ONE_THREAD
    return 1;
#else
    // The cores this process may run on (a benchmark pinned to one, a desk
    // that keeps a core for others), not all the machine has.
    cpu_set_t cores;
    CPU_ZERO(&cores);
    const int allowed = sched_getaffinity(0, sizeof cores, &cores) == 0 ? CPU_COUNT(&cores) : 1;
    const int limit = g_limit.load();
    return std::clamp(limit > 0 ? std::min(limit, allowed) : allowed, 1, 4);
#endif
}

void LimitWorkers(int workers)
{
    g_limit = std::max(0, workers);
}

void ForEach(std::size_t count, const std::function<void(std::size_t, int)> &work)
{
    const int workers = int(std::min<std::size_t>(std::size_t(Workers()), count));
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            work(i, 0);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto run = [&](int worker) {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            try {
                work(i, worker);
            } catch (...) {
                std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> others;
    try {
        for (int w = 1; w < workers; ++w)
            others.emplace_back(run, w);
    } catch (const std::system_error &) {
        // No thread to be had: the parts are shared among those there are.
    }
    run(0);
    for (std::thread &t : others)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace mrz
