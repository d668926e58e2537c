#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace mrz {

int Workers()
{
#ifdef MRZ_ONE_THREAD
    return 1;
#else
    static const int workers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    return workers;
#endif
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
    for (int w = 1; w < workers; ++w)
        others.emplace_back(run, w);
    run(0);
    for (std::thread &t : others)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace mrz
