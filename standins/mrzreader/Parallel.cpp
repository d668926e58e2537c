#include "Parallel.h"

#include "imaging/RowBands.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

namespace mrz {

namespace {

std::atomic<int> g_limit{0};

} // namespace

int Workers()
{
#ifdef MRZ_ONE_THREAD
    return 1;
#else
    const int limit = g_limit.load();
    return limit > 0 ? std::min(limit, imaging::UsableCores()) : imaging::UsableCores();
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
    imaging::OnThreads(workers, run);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace mrz
