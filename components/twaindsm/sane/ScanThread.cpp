#include "ScanThread.h"

#include <QtGlobal>
#include <new>

namespace twainsane {

namespace {

// How long a read waits on the device's descriptor before it looks for a
// cancel again.
constexpr int DataWaitMs = 50;
// The rest after a read that found nothing: for devices that read without
// waiting and give no descriptor, and for those whose descriptor stays
// readable while there is nothing to read (a hang-up, a backend that
// signals before a whole record is in), which would otherwise be read
// again at once, round and round.
constexpr auto IdleRest = std::chrono::milliseconds(2);
constexpr int DefaultAbandonMs = 10000;

} // namespace

std::chrono::milliseconds ScanThread::AbandonLimit()
{
    bool set = false;
    const int ms = qEnvironmentVariableIntValue("TWAINSANE_ABANDON_MS", &set);
    return std::chrono::milliseconds(set && ms >= 0 ? ms : DefaultAbandonMs);
}

ScanThread::ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> news, std::chrono::milliseconds grace,
                       std::function<void()> rest)
    : m_core(std::make_shared<Core>())
{
    m_core->job = std::move(job);
    m_core->news = std::move(news);
    m_core->rest = rest ? std::move(rest) : [] { std::this_thread::sleep_for(IdleRest); };
    m_core->grace = grace;
    m_watcher = std::thread([core = m_core] { core->watch(); });
    try {
        m_thread = std::thread([core = m_core] { core->run(); });
    } catch (...) {
        // No scan: the watcher, waiting for its end, is told of one.
        {
            std::lock_guard<std::mutex> lock(m_core->mutex);
            m_core->progress.ended = true;
        }
        m_core->changed.notify_all();
        m_watcher.join();
        throw;
    }
}

ScanThread::~ScanThread()
{
    if (!m_thread.joinable())
        return; // given up already
    cancel();
    if (waitFor(AbandonLimit()) || !abandon()) {
        m_thread.join();
        m_watcher.join();
    }
}

ScanThread::Progress ScanThread::progress()
{
    std::lock_guard<std::mutex> lock(m_core->mutex);
    m_core->newsPending = false;
    return m_core->progress;
}

void ScanThread::cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_core->mutex);
        if (m_core->progress.ended || m_core->cancel)
            return;
        m_core->cancel = true;
        m_core->job->requestCancel();
    }
    m_core->changed.notify_all();
}

bool ScanThread::cancelling() const
{
    std::lock_guard<std::mutex> lock(m_core->mutex);
    return m_core->cancel && !m_core->progress.ended;
}

void ScanThread::wait() const
{
    std::unique_lock<std::mutex> lock(m_core->mutex);
    m_core->changed.wait(lock, [this] { return m_core->progress.ended; });
}

bool ScanThread::waitFor(std::chrono::milliseconds limit) const
{
    std::unique_lock<std::mutex> lock(m_core->mutex);
    return m_core->changed.wait_for(lock, limit, [this] { return m_core->progress.ended; });
}

bool ScanThread::abandon(std::function<void()> afterwards)
{
    if (!m_thread.joinable())
        return true;
    {
        std::lock_guard<std::mutex> lock(m_core->mutex);
        if (m_core->progress.ended)
            return false;
        m_core->abandoned = true;
        m_core->afterAbandoned = std::move(afterwards);
    }
    m_core->job->kill();
    m_core->changed.notify_all(); // the watcher stops watching
    m_thread.detach();
    m_watcher.detach();
    return true;
}

bool ScanThread::Core::publish(const Progress &next)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (next == progress)
        return false;
    progress = next;
    if (progress.ended)
        changed.notify_all();
    if (newsPending && !progress.ended)
        return false;
    newsPending = true;
    return true;
}

void ScanThread::Core::run()
{
    try {
        read();
    } catch (...) {
        // Memory ran out (a page too big, a list that would not grow): the
        // scan fails as out of memory, the pages finished before it stay.
        try {
            job->abandon(SANE_STATUS_NO_MEM);
        } catch (...) {
        }
    }
    Progress end;
    end.pages = job->pageCount();
    end.ended = true;
    publish(end);
    std::function<void()> after;
    bool given = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        given = abandoned;
        after.swap(afterAbandoned);
    }
    try {
        // A scan given up tells no one: its caller has moved on.
        if (given && after)
            after(); // the device's call came back after all: done with it
        else if (!given)
            news();
    } catch (...) {
        // Not told: the application finds the end when it next looks.
    }
}

void ScanThread::Core::read()
{
    while (job->running()) {
        const int fd = job->selectFd();
        if (fd >= 0 && !job->cancelRequested() && !ScanJob::Readable(fd, DataWaitMs))
            continue;
        job->step();
        if (!job->running())
            break;
        if (job->idle())
            rest();
        if (publish(Progress{job->pageCount(), job->pagePercent(), false}))
            news();
    }
}

void ScanThread::Core::watch()
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return cancel || progress.ended; });
    // The scan's thread sees the cancel between two calls and goes into none
    // after it but the device's own cancel; one it waits in meanwhile is
    // cancelled on the device once the grace is over, and again after every
    // further grace while it still waits (a cancel that came while a network
    // round trip was under way may be lost), until the scan ends or is
    // given up.
    while (!changed.wait_for(lock, grace, [this] { return progress.ended || abandoned; })) {
        lock.unlock();
        job->interrupt();
        lock.lock();
    }
}

} // namespace twainsane
