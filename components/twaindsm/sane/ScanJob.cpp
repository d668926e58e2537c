#include "ScanJob.h"

#include "platform/GlobalMemory.h"

#include <algorithm>
#include <poll.h>

namespace twainsane {

namespace {

constexpr std::size_t ReadChunk = 256 * 1024;
// The longest wait for a backend's threads to come out of harm's way before
// a call that may stop them; a device whose threads never do is cancelled
// after it all the same.
constexpr auto SettleLimit = std::chrono::milliseconds(2000);

} // namespace

ScanJob::ScanJob(SANE_Handle device, const ScanRequest &request, const SaneCalls &calls)
    : m_device(device), m_request(request), m_sane(calls), m_buffer(ReadChunk)
{
}

ScanJob::~ScanJob()
{
    if (running())
        cancelDevice();
    for (TW_HANDLE page : m_pages)
        GlobalFree(page);
}

std::vector<TW_HANDLE> ScanJob::takePages()
{
    std::vector<TW_HANDLE> pages;
    pages.swap(m_pages);
    return pages;
}

int ScanJob::pagePercent() const
{
    if (m_phase != Phase::Reading || m_frame.lines < 0)
        return m_phase == Phase::Reading ? -1 : 0;
    const uint64_t expected = m_page.expectedBytes();
    // Three single-colour frames make one page.
    const uint64_t whole = m_frame.format == SANE_FRAME_RGB || m_frame.format == SANE_FRAME_GRAY
                               ? expected
                               : uint64_t(m_frame.bytes_per_line) * uint64_t(m_frame.lines) * 3;
    return whole ? int(std::min<uint64_t>(100, m_page.consumedBytes() * 100 / whole)) : 0;
}

bool ScanJob::Readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

bool ScanJob::step()
{
    m_idle = false;
    if (running() && m_cancelRequested) {
        stop(Phase::Cancelled);
        return false;
    }
    if (m_phase == Phase::Starting) {
        start();
        // The first read follows at once: the page's data is often there
        // by the time it is started.
        if (m_phase == Phase::Reading)
            read();
    } else if (m_phase == Phase::Reading) {
        read();
    }
    return running();
}

void ScanJob::cancel()
{
    if (running())
        stop(Phase::Cancelled);
}

void ScanJob::abandon(SANE_Status status)
{
    if (running())
        stop(Phase::Failed, status);
}

bool ScanJob::enterCall(Call kind)
{
    std::lock_guard<std::mutex> lock(m_callMutex);
    if (m_dead || (m_cancelRequested && kind != Call::Cancel))
        return false;
    m_inCall = true;
    m_inStart = kind == Call::Start;
    return true;
}

void ScanJob::leaveCall()
{
    std::lock_guard<std::mutex> lock(m_callMutex);
    m_inCall = false;
    m_inStart = false;
}

template<class Work>
SANE_Status ScanJob::markedCall(Work call)
{
    try {
        const SANE_Status status = call();
        leaveCall();
        return status;
    } catch (...) {
        leaveCall();
        throw;
    }
}

template<class Work>
SANE_Status ScanJob::deviceCall(Work call)
{
    if (!enterCall(Call::Other))
        return SANE_STATUS_CANCELLED;
    return markedCall(call);
}

bool ScanJob::interrupt()
{
    // Held throughout: should the call return meanwhile, the scan's thread
    // waits here before it goes on to a cancel of its own, so the two never
    // meet in the backend.
    std::lock_guard<std::mutex> lock(m_callMutex);
    // Asked again while the call still waits: a network round trip may
    // have been under way when the first cancel came.
    if (!m_inCall || m_dead)
        return false;
    // The scan's thread leaves the page's threads alone while it waits in
    // the call; while a page starts they are those begun since it started.
    BackendThreads threads = m_threads;
    if (m_inStart)
        threads.afterStart();
    threads.settle(SettleLimit);
    m_sane.cancel(m_device);
    m_interrupted = true;
    return true;
}

bool ScanJob::interrupted() const
{
    std::lock_guard<std::mutex> lock(m_callMutex);
    return m_interrupted;
}

void ScanJob::kill()
{
    // Not under the call's lock: interrupt() holds it while its cancel may
    // hang as the call did. The one cancel under way then is the last call.
    m_dead = true;
}

void ScanJob::cancelDevice()
{
    if (m_dead)
        return;
    m_threads.settle(SettleLimit);
    // Marked as every call: the cancel itself is a network round trip with
    // SANE's net backend, and may hang as any other.
    if (enterCall(Call::Cancel))
        markedCall([this] {
            m_sane.cancel(m_device);
            return SANE_STATUS_GOOD;
        });
    m_threads.forget();
}

int64_t ScanJob::frameBytesLeft() const
{
    if (m_frame.lines < 0)
        return -1;
    return int64_t(m_frame.bytes_per_line) * m_frame.lines - int64_t(m_frameRead);
}

void ScanJob::stop(Phase phase, SANE_Status status)
{
    m_phase = phase;
    if (phase == Phase::Failed)
        m_failure = Failure::From(status, m_request.feeder ? DocumentPlace::Feeder : DocumentPlace::Flatbed);
    m_midPage = false;
    cancelDevice();
    m_page.reset();
}

void ScanJob::start()
{
    m_threads.beforeStart();
    if (!enterCall(Call::Start)) {
        stop(Phase::Cancelled);
        return;
    }
    const SANE_Status status = markedCall([this] { return m_sane.start(m_device); });
    m_threads.afterStart();
    if (m_cancelRequested) {
        stop(Phase::Cancelled);
        return;
    }
    if (status != SANE_STATUS_GOOD) {
        if (status == SANE_STATUS_CANCELLED)
            stop(Phase::Cancelled);
        else if (status == SANE_STATUS_NO_DOCS && m_request.feeder && !m_pages.empty() && !m_midPage)
            stop(Phase::Finished); // the feeder ran empty after some pages
        else
            stop(Phase::Failed, status);
        return;
    }
    // Every call below may wait on the device as the start did (each is a
    // network round trip with SANE's net backend), so each is marked and
    // can be cancelled from outside.
    const SANE_Status parameters = deviceCall([this] { return m_sane.parameters(m_device, &m_frame); });
    if (m_cancelRequested) {
        stop(Phase::Cancelled);
        return;
    }
    if (parameters != SANE_STATUS_GOOD) {
        stop(Phase::Failed, SANE_STATUS_UNSUPPORTED);
        return;
    }
    switch (m_page.beginFrame(m_frame)) {
    case PageAssembler::Begin::Ok: break;
    case PageAssembler::Begin::Refused: stop(Phase::Failed, SANE_STATUS_UNSUPPORTED); return;
    case PageAssembler::Begin::NoMemory: stop(Phase::Failed, SANE_STATUS_NO_MEM); return;
    }
    // Without non-blocking reads each read waits for data; the slice then
    // ends after the first read that took its time.
    m_nonBlocking = deviceCall([this] { return m_sane.setIoMode(m_device, SANE_TRUE); }) == SANE_STATUS_GOOD;
    SANE_Int fd = -1;
    m_selectFd = deviceCall([&] { return m_sane.selectFd(m_device, &fd); }) == SANE_STATUS_GOOD ? fd : -1;
    if (m_cancelRequested) {
        stop(Phase::Cancelled);
        return;
    }
    m_frameRead = 0;
    m_phase = Phase::Reading;
}

void ScanJob::read()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + m_request.slice;
    std::size_t budget = m_request.sliceBytes ? m_request.sliceBytes : SIZE_MAX;
    for (bool first = true; budget > 0; first = false) {
        // With a descriptor the device is read only when it has data: what
        // a read finds when there is none is where backends differ most
        // (SANE's test backend takes it for the end of the page).
        if (m_selectFd >= 0 && !Readable(m_selectFd, 0)) {
            m_idle = first;
            return;
        }
        SANE_Int length = 0;
        auto ask = static_cast<SANE_Int>(std::min(m_buffer.size(), budget));
        // The read that completes a frame may end the backend's threads for
        // it (the test backend's does): all but its last byte are read
        // first, and that byte once the threads are out of harm's way.
        const int64_t left = frameBytesLeft();
        if (left > 1)
            ask = static_cast<SANE_Int>(std::min<int64_t>(ask, left - 1));
        else if (m_threads.any())
            m_threads.settle(SettleLimit);
        if (!enterCall(Call::Other)) {
            stop(Phase::Cancelled);
            return;
        }
        const SANE_Status status = markedCall([&] { return m_sane.read(m_device, m_buffer.data(), ask, &length); });
        if (m_cancelRequested) {
            // Whatever the read gave: a read cancelled from outside may end
            // as if the page were over.
            stop(Phase::Cancelled);
            return;
        }
        if (status == SANE_STATUS_EOF) {
            endFrame();
            return;
        }
        if (status == SANE_STATUS_CANCELLED) {
            stop(Phase::Cancelled);
            return;
        }
        if (status != SANE_STATUS_GOOD) {
            stop(Phase::Failed, status);
            return;
        }
        if (length <= 0) {
            m_idle = first; // nothing ready yet
            return;
        }
        length = std::min(length, ask);
        m_frameRead += uint64_t(length);
        m_page.feed(m_buffer.data(), std::size_t(length));
        if (m_page.tooLong()) {
            // A page that never ends, longer than any picture may be: the
            // device never said where it ends.
            stop(Phase::Failed, SANE_STATUS_EOF);
            m_failure = Failure::PageTooLong();
            return;
        }
        budget -= std::size_t(length);
        if (Clock::now() >= end)
            return;
    }
}

void ScanJob::endFrame()
{
    if (!m_frame.last_frame) {
        m_midPage = true;
        m_phase = Phase::Starting;
        return;
    }
    m_midPage = false;
    const bool empty = m_page.linesDone() == 0;
    TW_HANDLE dib = m_page.finishPage(m_request.dpi);
    if (!dib) {
        // A page that ended before its first line is the device's fault.
        stop(Phase::Failed, empty ? SANE_STATUS_EOF : SANE_STATUS_NO_MEM);
        return;
    }
    try {
        m_pages.push_back(dib);
    } catch (...) {
        GlobalFree(dib);
        throw;
    }
    const bool more = m_request.feeder && (m_request.maxPages < 0 || pageCount() < m_request.maxPages);
    if (more)
        m_phase = Phase::Starting;
    else
        stop(Phase::Finished);
}

} // namespace twainsane
