#pragma once
// Every SANE call of one scan, from starting the first frame to the cancel,
// made on one thread of the scan's own, so the application's thread never
// waits on the device: starting a page can take seconds while a lamp warms
// up, and a backend's calls for one scan are not made to come from several
// threads. The application's thread asks for one step at a time and learns
// when it is done; between steps the job is its to read. Where the device
// gives a descriptor the step waits for data on it (a while at most, so a
// cancel is never kept waiting long); where it reads without waiting and
// gives none, a step that found nothing rests a moment before it reports.

#include "ScanJob.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace twainsane {

class ScanThread
{
public:
    enum class Request { None, Step, Cancel, Quit };

    /// `done` is called on the scan's thread after each request: it only
    /// tells the application's thread to look (busy() is false by then).
    ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> done);
    /// Waits for the request under way, then ends the thread.
    ~ScanThread();
    ScanThread(const ScanThread &) = delete;
    ScanThread &operator=(const ScanThread &) = delete;

    /// Asks for one step of the job, or its cancel; only while not busy.
    void request(Request request);
    /// True from a request until it is done.
    bool busy() const;
    /// Blocks until no request is under way.
    void wait() const;
    /// The job, for reading and taking its pages; only while not busy.
    ScanJob &job() { return *m_job; }

private:
    void run();
    void step();

    std::unique_ptr<ScanJob> m_job;
    std::function<void()> m_done;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Request m_request = Request::None;
    bool m_busy = false;
    std::thread m_thread;
};

} // namespace twainsane
