#pragma once
// Every SANE call of one scan, from starting the first frame to the cancel,
// made on one thread of the scan's own, so the application's thread never
// waits on the device: starting a page can take seconds while a lamp warms
// up, and a backend's calls for one scan are not made to come from several
// threads. The thread reads on its own from the start to the last page,
// however busy the application's thread is, and only tells it of progress
// (pages done, percent of the page) and of the end. Where the device gives a
// descriptor a read waits for data on it (a while at most, so a cancel is
// never kept waiting long); where it reads without waiting and gives none, a
// read that found nothing rests a moment before the next.
//
// A cancel is seen between two reads. A call that does not return (a
// stalled device, a lamp that never warms up, a network scanner that hung)
// is cancelled on the device from a watching thread once a short grace has
// passed, as SANE allows, so the call returns and the scan ends.

#include "ScanJob.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace twainsane {

class ScanThread
{
public:
    struct Progress
    {
        int pages = 0;       // finished
        int percent = 0;     // of the page being read; -1 when its length is unknown
        bool ended = false;  // the job is the caller's now
        bool operator==(const Progress &) const = default;
    };
    static constexpr std::chrono::milliseconds DefaultGrace{200};

    /// Starts the scan at once. `news` is called on the scan's thread when
    /// the progress changed after the last progress() (so once per look of
    /// the application's thread at most) and when the scan ended: it only
    /// tells the application's thread to look.
    ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> news,
               std::chrono::milliseconds grace = DefaultGrace);
    /// Cancels a scan still running and waits for its end.
    ~ScanThread();
    ScanThread(const ScanThread &) = delete;
    ScanThread &operator=(const ScanThread &) = delete;

    /// The latest progress; the next change is news again.
    Progress progress();
    /// Asks for the cancel and returns at once; the end comes as news.
    void cancel();
    bool cancelling() const;
    /// Blocks until the scan ended.
    void wait() const;
    /// The job, for its outcome and its pages; only once ended.
    ScanJob &job() { return *m_job; }
    /// Whether a call that did not return was cancelled from outside.
    bool interrupted() const { return m_job->interrupted(); }

private:
    void run();
    void read();
    void watch();
    /// Records the progress; true when the application is to be told.
    bool publish(const Progress &progress);

    std::unique_ptr<ScanJob> m_job;
    std::function<void()> m_news;
    std::chrono::milliseconds m_grace;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Progress m_progress;
    bool m_newsPending = false;
    bool m_cancel = false;
    // The watcher first: it is there before the scan's first start, so the
    // backend's threads are never mistaken for it or it for one of them.
    std::thread m_watcher;
    std::thread m_thread;
};

} // namespace twainsane
