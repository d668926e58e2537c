#pragma once
// The threads a backend starts with a page, and a wait until they are out of
// harm's way before a call that may stop them. SANE's test backend reads
// each page on a thread of its own and, when the page ends or is cancelled,
// stops that thread wherever it is: stopped while it allocates or frees its
// buffer it leaves the allocator locked, and every other thread of the
// program then hangs on its next allocation. A thread is out of harm's way
// once it has gone, or while it waits in a system call (the test backend's
// reader waits in a write to its full pipe).

#include <sys/types.h>

#include <chrono>
#include <set>

namespace twainsane {

class BackendThreads
{
public:
    enum class State { Gone, Waiting, Busy };

    /// Notes the threads there are before the backend's call that starts a page.
    void beforeStart();
    /// The threads that came since beforeStart() are the page's.
    void afterStart();
    /// Waits until every thread of the page has gone or waits in a system
    /// call, for at most `limit`; false when the time ran out. The threads
    /// that went are forgotten.
    bool settle(std::chrono::milliseconds limit);
    /// True while threads of the page may still run.
    bool any() const { return !m_started.empty(); }
    void forget() { m_started.clear(); }

    /// The threads of this process.
    static std::set<pid_t> Threads();
    /// What a thread of this process is doing.
    static State StateOf(pid_t thread);

private:
    std::set<pid_t> m_before;
    std::set<pid_t> m_started;
};

} // namespace twainsane
