#include "Parallel.h"

#include "platform/RowBands.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>

namespace mrz {

namespace {

std::atomic<int> g_limit{0};
/// How far a reading done ahead stands behind: the window's own work gets
/// about three times its share of a core.
constexpr int kGiveWay = 5;

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

void GiveWay()
{
    // Linux keeps a niceness per thread, and threads inherit their
    // starter's: the reading's own helpers give way too. A thread that may
    // not be lowered runs as it is.
    const id_t self = id_t(gettid());
    errno = 0;
    const int now = getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        setpriority(PRIO_PROCESS, self, std::min(now + kGiveWay, 19));
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
