#pragma once
// One scan of a SANE device, worked in steps: each step starts a frame or
// reads what the device has, for at most one slice of time (and of bytes,
// when a limit is set), then returns, so whoever drives it can show the
// progress between steps. Pages from a document feeder follow each other
// until the feeder is empty or enough pages are in. Finished pages wait as
// DIBs until they are taken. A cancel may be asked for from any thread: it
// is seen between two reads, and a call to the device that does not return
// (a stalled device, a lamp that never warms up) can be cancelled from
// outside while it waits.

#include "BackendThreads.h"
#include "PageAssembler.h"
#include "SaneStatus.h"

#include <sane/sane.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <vector>

namespace twainsane {

/// The SANE calls a scan makes, bound in one place; tests put a scripted
/// device in their place.
struct SaneCalls
{
    SANE_Status (*start)(SANE_Handle) = sane_start;
    SANE_Status (*parameters)(SANE_Handle, SANE_Parameters *) = sane_get_parameters;
    SANE_Status (*setIoMode)(SANE_Handle, SANE_Bool) = sane_set_io_mode;
    SANE_Status (*selectFd)(SANE_Handle, SANE_Int *) = sane_get_select_fd;
    SANE_Status (*read)(SANE_Handle, SANE_Byte *, SANE_Int, SANE_Int *) = sane_read;
    void (*cancel)(SANE_Handle) = sane_cancel;
};

struct ScanRequest
{
    bool feeder = false;    // pages until the feeder is empty
    int maxPages = -1;      // with the feeder: at most this many (-1: all)
    double dpi = 0;         // recorded in the DIBs
    std::chrono::microseconds slice{8000};
    std::size_t sliceBytes = 0; // 0: no limit beyond the time
};

class ScanJob
{
public:
    enum class Phase { Starting, Reading, Finished, Cancelled, Failed };

    ScanJob(SANE_Handle device, const ScanRequest &request, const SaneCalls &calls = SaneCalls());
    ~ScanJob();
    ScanJob(const ScanJob &) = delete;
    ScanJob &operator=(const ScanJob &) = delete;

    /// Works for one slice; answers whether the scan still runs.
    bool step();
    /// Stops the scan; the pages finished so far stay.
    void cancel();
    /// Asks for the cancel from any thread: the next step, or the read
    /// under way once it returns, stops the scan as cancel() does.
    void requestCancel() { m_cancelRequested = true; }
    bool cancelRequested() const { return m_cancelRequested; }
    /// From any thread while another steps the job: cancels on the device
    /// when a call of the scan (a start, a read, the frame's parameters, the
    /// cancel itself...) is waiting in it, so the call returns (SANE allows
    /// the cancel at any time for this); again at every asking while the
    /// call still waits. True when it did.
    bool interrupt();
    /// Whether interrupt() cancelled a call.
    bool interrupted() const;
    /// From any thread: the device is given up (a call of it never
    /// returned), so nothing calls it again, not even interrupt().
    void kill();
    /// Ends the scan as failed with the status, keeping the finished pages
    /// (for a fault met outside SANE, such as memory running out).
    void abandon(SANE_Status status);

    Phase phase() const { return m_phase; }
    bool running() const { return m_phase == Phase::Starting || m_phase == Phase::Reading; }
    const Failure &failure() const { return m_failure; }
    /// Pages finished so far.
    int pageCount() const { return int(m_pages.size()); }
    /// Progress of the page being read, 0 to 100; -1 when its length is unknown.
    int pagePercent() const;
    /// Hands the finished pages over (the caller frees them).
    std::vector<TW_HANDLE> takePages();

    /// How the next step should be awaited: a file descriptor that becomes
    /// readable when the device has data (-1 for none), and whether reads
    /// return at once when it has none (else a read waits for data).
    int selectFd() const { return m_phase == Phase::Reading ? m_selectFd : -1; }
    bool nonBlocking() const { return m_nonBlocking; }
    /// True when the last step found no data to read.
    bool idle() const { return m_idle; }
    /// Whether the descriptor has data (or its end) within the time.
    static bool Readable(int fd, int timeoutMs);

private:
    void start();
    void read();
    void endFrame();
    void stop(Phase phase, SANE_Status status = SANE_STATUS_GOOD);
    /// Cancels on the device once the threads it started for the page are
    /// out of harm's way.
    void cancelDevice();
    /// Bytes of the current frame still to come; -1 when its length is unknown.
    int64_t frameBytesLeft() const;
    /// What a call of the device is, for its mark.
    enum class Call { Start, Other, Cancel };
    /// Marks the call about to be made (false, and no mark, when the device
    /// was given up, or a cancel is asked for and the call is not the
    /// cancel itself), and its return.
    bool enterCall(Call kind);
    void leaveCall();
    /// Makes the call entered, and marks its return however it returns.
    template<class Work>
    SANE_Status markedCall(Work call);
    /// Enters and makes the call; SANE_STATUS_CANCELLED when not entered.
    template<class Work>
    SANE_Status deviceCall(Work call);

    SANE_Handle m_device;
    ScanRequest m_request;
    SaneCalls m_sane;
    Phase m_phase = Phase::Starting;
    Failure m_failure;
    PageAssembler m_page;
    SANE_Parameters m_frame{};
    bool m_midPage = false;  // frames of the page still to come
    bool m_nonBlocking = false;
    int m_selectFd = -1;
    bool m_idle = false;
    std::vector<TW_HANDLE> m_pages;
    std::vector<uint8_t> m_buffer;
    uint64_t m_frameRead = 0;
    BackendThreads m_threads;
    std::atomic<bool> m_cancelRequested{false};
    /// Guards the marks of a call under way against interrupt().
    mutable std::mutex m_callMutex;
    bool m_inCall = false;
    bool m_inStart = false;
    bool m_interrupted = false;
    // Set without the lock: a cancel from outside may hang with the lock held.
    std::atomic<bool> m_dead{false};
};

} // namespace twainsane
