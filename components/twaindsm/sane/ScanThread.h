#pragma once
// Every SANE call of one scan, from starting the first frame to the cancel,
// made on one thread of the scan's own, so the application's thread never
// waits on the device: starting a page can take seconds while a lamp warms
// up, and a backend's calls for one scan are not made to come from several
// threads. The thread reads on its own from the start to the last page,
// however busy the application's thread is, and only tells it of progress
// (pages done, percent of the page) and of the end. Where the device gives a
// descriptor a read waits for data on it (a while at most, so a cancel is
// never kept waiting long); a read that found nothing rests a moment before
// the next, with a descriptor or without (one that stays readable with
// nothing to read would be read round and round).
//
// A cancel is seen between two reads. A call that does not return (a
// stalled device, a lamp that never warms up, a network scanner that hung)
// is cancelled on the device from a watching thread once a short grace has
// passed, and again after each grace while it still waits, as SANE allows,
// so the call returns and the scan ends. A call deaf even to that is not
// waited for without end: the scan is given up, left to its threads, which
// share its state with no one else's.

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
    /// How long the end of a cancelled scan is waited for before the scan
    /// is given up: TWAINSANE_ABANDON_MS, 10 s by default.
    static std::chrono::milliseconds AbandonLimit();

    /// Starts the scan at once. `news` is called on the scan's thread when
    /// the progress changed after the last progress() (so once per look of
    /// the application's thread at most) and when the scan ended: it only
    /// tells the application's thread to look. `rest` is made after a read
    /// that found nothing (a short sleep when not given).
    ScanThread(std::unique_ptr<ScanJob> job, std::function<void()> news,
               std::chrono::milliseconds grace = DefaultGrace, std::function<void()> rest = {});
    /// Cancels a scan still running and waits for its end, AbandonLimit()
    /// at most: then the scan is given up (see abandon()).
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
    /// Blocks until the scan ended or the time is over; whether it ended.
    bool waitFor(std::chrono::milliseconds limit) const;
    /// Gives up a scan whose call to the device never returns: the device
    /// is never called again, and the threads are left to themselves (with
    /// the job) instead of waited for. Should the call return after all,
    /// `afterwards` is called on the scan's thread once it is done with the
    /// device, so the device can be closed then. False, and nothing given
    /// up, when the scan has ended meanwhile.
    bool abandon(std::function<void()> afterwards = {});
    /// The job, for its outcome and its pages; only once ended (its pages
    /// may be taken once it was given up, too).
    ScanJob &job() { return *m_core->job; }
    /// Whether a call that did not return was cancelled from outside.
    bool interrupted() const { return m_core->job->interrupted(); }

private:
    /// What the threads share with the caller: it lives as long as the
    /// last of them, so a scan given up is no danger to the caller.
    struct Core
    {
        std::unique_ptr<ScanJob> job;
        std::function<void()> news;
        std::function<void()> rest;
        std::chrono::milliseconds grace;
        mutable std::mutex mutex;
        mutable std::condition_variable changed;
        Progress progress;
        bool newsPending = false;
        bool cancel = false;
        bool abandoned = false;
        std::function<void()> afterAbandoned;

        void run();
        void read();
        void watch();
        /// Records the progress; true when the application is to be told.
        bool publish(const Progress &progress);
    };

    std::shared_ptr<Core> m_core;
    // The watcher first: it is there before the scan's first start, so the
    // backend's threads are never mistaken for it or it for one of them.
    std::thread m_watcher;
    std::thread m_thread;
};

} // namespace twainsane
