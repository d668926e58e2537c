#include "ScanThread.h"

#include <new>

namespace twainsane {

namespace {

// How long a read waits on the device's descriptor before it looks for a
// cancel again.
constexpr int DataWaitMs = 50;
// The rest after a read that found nothing, for devices that read without
// waiting and give no descriptor.
constexpr auto IdleRest = std::chrono::milliseconds(2);

} // namespace

ScanThread::ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> news, std::chrono::milliseconds grace)
    : m_job(std::move(job)), m_news(std::move(news)), m_grace(grace), m_watcher([this] { watch(); }),
      m_thread([this] { run(); })
{
}

ScanThread::~ScanThread()
{
    cancel();
    m_thread.join();
    m_watcher.join();
}

ScanThread::Progress ScanThread::progress()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_newsPending = false;
    return m_progress;
}

void ScanThread::cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_progress.ended || m_cancel)
            return;
        m_cancel = true;
        m_job->requestCancel();
    }
    m_changed.notify_all();
}

bool ScanThread::cancelling() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cancel && !m_progress.ended;
}

void ScanThread::wait() const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_progress.ended; });
}

bool ScanThread::publish(const Progress &progress)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (progress == m_progress)
        return false;
    m_progress = progress;
    if (m_progress.ended)
        m_changed.notify_all();
    if (m_newsPending && !m_progress.ended)
        return false;
    m_newsPending = true;
    return true;
}

void ScanThread::run()
{
    try {
        read();
    } catch (...) {
        // Memory ran out (a page too big, a list that would not grow): the
        // scan fails as out of memory, the pages finished before it stay.
        try {
            m_job->abandon(SANE_STATUS_NO_MEM);
        } catch (...) {
        }
    }
    Progress end;
    end.pages = m_job->pageCount();
    end.ended = true;
    publish(end);
    try {
        m_news();
    } catch (...) {
        // Not told: the application finds the end when it next looks.
    }
}

void ScanThread::read()
{
    while (m_job->running()) {
        const int fd = m_job->selectFd();
        if (fd >= 0 && !m_job->cancelRequested() && !ScanJob::Readable(fd, DataWaitMs))
            continue;
        m_job->step();
        if (!m_job->running())
            break;
        if (m_job->idle() && m_job->selectFd() < 0)
            std::this_thread::sleep_for(IdleRest);
        if (publish(Progress{m_job->pageCount(), m_job->pagePercent(), false}))
            m_news();
    }
}

void ScanThread::watch()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_cancel || m_progress.ended; });
    // The scan's thread sees the cancel between two calls and goes into none
    // after it; one it waits in meanwhile is cancelled on the device once
    // the grace is over.
    if (m_changed.wait_for(lock, m_grace, [this] { return m_progress.ended; }))
        return;
    lock.unlock();
    m_job->interrupt();
}

} // namespace twainsane
