#include "ScanThread.h"

#include <chrono>

namespace twainsane {

namespace {

// How long a step waits on the device's descriptor before it reports, so
// that a cancel asked for meanwhile is not kept waiting longer.
constexpr int DataWaitMs = 50;
// The rest after a step that found nothing, for devices that read without
// waiting and give no descriptor.
constexpr auto IdleRest = std::chrono::milliseconds(2);

} // namespace

ScanThread::ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> done)
    : m_job(std::move(job)), m_done(std::move(done)), m_thread([this] { run(); })
{
}

ScanThread::~ScanThread()
{
    wait();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_request = Request::Quit;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ScanThread::request(Request request)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_busy)
            return;
        m_request = request;
        m_busy = true;
    }
    m_changed.notify_all();
}

bool ScanThread::busy() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_busy;
}

void ScanThread::wait() const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
}

void ScanThread::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_request != Request::None; });
        const Request request = m_request;
        m_request = Request::None;
        if (request == Request::Quit)
            return;
        lock.unlock();
        if (request == Request::Step)
            step();
        else
            m_job->cancel();
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
        lock.unlock();
        m_done();
        lock.lock();
    }
}

void ScanThread::step()
{
    const int fd = m_job->selectFd();
    if (fd >= 0 && !ScanJob::Readable(fd, DataWaitMs))
        return;
    m_job->step();
    if (m_job->running() && m_job->idle() && m_job->selectFd() < 0)
        std::this_thread::sleep_for(IdleRest);
}

} // namespace twainsane
