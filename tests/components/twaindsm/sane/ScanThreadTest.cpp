// A scan on its own thread against a scripted device: it reads on its own
// from the start to the last page however long the application's thread
// looks away, telling it only of progress; every SANE call of the scan is
// made on that one thread; non-blocking reads that find nothing (and no
// descriptor to wait on) rest and the page still comes whole; a cancel is
// seen between reads; a start or a read that waits in the device is
// cancelled on the device from outside; and a fault outside SANE (memory
// running out) fails the scan as out of memory instead of ending the
// program.
#include "ScanThread.h"
#include "platform/GlobalMemory.h"

#include <chrono>
#include <condition_variable>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <unistd.h>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

using twainsane::ScanJob;
using twainsane::ScanRequest;
using twainsane::ScanThread;

namespace {

// Long enough never to be met by a working test; a broken one fails
// instead of hanging.
constexpr auto GiveUp = std::chrono::seconds(20);

/// Grey pages of 6 x 4 pixels from a feeder, read without waiting: each
/// read answers "nothing yet" before every piece it gives, as a device whose
/// data comes slower than the reads. A page may be endless (length
/// unknown), its start or its second half may wait in the device until the
/// scan is cancelled, and a read may run out of memory.
struct ScriptedDevice
{
    static constexpr int Width = 6, Lines = 4;
    std::mutex mutex;
    std::condition_variable changed;
    std::set<std::thread::id> threads;       // where the calls but the cancels were made
    std::vector<std::thread::id> cancellers; // where each cancel was made
    int sheets = 1;
    int sheet = -1;
    bool endless = false;
    int hangInStart = -1;    // the sheet whose start waits for the cancel
    int hangInRead = -1;     // the sheet whose second half waits for the cancel
    int noMemoryInRead = -1; // the sheet whose read throws
    bool deafInParameters = false; // the frame's parameters wait, cancelled or not, until released
    bool released = false;
    bool returned = false;         // the released call is done with the device
    int readyFd = -1;              // a descriptor given for the reads
    bool nothingToRead = false;    // every read answers "nothing yet"
    int calls = 0;                 // every call but the cancels
    bool hanging = false;
    bool cancelled = false;
    std::size_t offset = 0;
    int emptyReads = 0;
    bool nextEmpty = true;

    void called()
    {
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(std::this_thread::get_id());
        ++calls;
    }
    /// Waits in the device, whatever cancels come, until released.
    void hangDeaf()
    {
        std::unique_lock<std::mutex> lock(mutex);
        hanging = true;
        changed.notify_all();
        changed.wait_for(lock, GiveUp, [this] { return released; });
        // The last the call touches of the device: the test may end now.
        returned = true;
        changed.notify_all();
    }
    /// Waits in the device until the scan is cancelled.
    void hang()
    {
        std::unique_lock<std::mutex> lock(mutex);
        hanging = true;
        changed.notify_all();
        changed.wait_for(lock, GiveUp, [this] { return cancelled; });
    }
    void waitUntilHanging()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, GiveUp, [this] { return hanging; });
    }
};
ScriptedDevice *g_device = nullptr;

uint8_t pixelAt(std::size_t i) { return uint8_t(17 + 7 * i); }
constexpr std::size_t PageBytes = std::size_t(ScriptedDevice::Width) * ScriptedDevice::Lines;

twainsane::SaneCalls scriptedCalls()
{
    twainsane::SaneCalls calls;
    calls.start = [](SANE_Handle) {
        g_device->called();
        if (++g_device->sheet >= g_device->sheets)
            return SANE_STATUS_NO_DOCS;
        g_device->offset = 0;
        g_device->nextEmpty = true;
        if (g_device->sheet == g_device->hangInStart) {
            // A lamp that never warms up.
            g_device->hang();
            return SANE_STATUS_CANCELLED;
        }
        return SANE_STATUS_GOOD;
    };
    calls.parameters = [](SANE_Handle, SANE_Parameters *p) {
        ScriptedDevice *device = g_device;
        device->called();
        *p = SANE_Parameters{SANE_FRAME_GRAY, SANE_TRUE, ScriptedDevice::Width, ScriptedDevice::Width,
                             device->endless ? -1 : ScriptedDevice::Lines, 8};
        if (device->deafInParameters)
            device->hangDeaf(); // a network scanner that hung
        return SANE_STATUS_GOOD;
    };
    calls.setIoMode = [](SANE_Handle, SANE_Bool nonBlocking) {
        g_device->called();
        return nonBlocking ? SANE_STATUS_GOOD : SANE_STATUS_UNSUPPORTED;
    };
    calls.selectFd = [](SANE_Handle, SANE_Int *fd) {
        g_device->called();
        *fd = g_device->readyFd;
        return g_device->readyFd >= 0 ? SANE_STATUS_GOOD : SANE_STATUS_UNSUPPORTED;
    };
    calls.read = [](SANE_Handle, SANE_Byte *data, SANE_Int max, SANE_Int *length) {
        g_device->called();
        *length = 0;
        if (g_device->sheet == g_device->noMemoryInRead)
            throw std::bad_alloc();
        if (g_device->sheet == g_device->hangInRead && g_device->offset >= PageBytes / 2) {
            g_device->hang(); // a device that stalled half way
            return SANE_STATUS_CANCELLED;
        }
        if (!g_device->endless && g_device->offset >= PageBytes)
            return SANE_STATUS_EOF;
        if (g_device->nothingToRead) {
            ++g_device->emptyReads;
            return SANE_STATUS_GOOD;
        }
        if (g_device->nextEmpty) {
            g_device->nextEmpty = false;
            ++g_device->emptyReads;
            return SANE_STATUS_GOOD; // nothing yet
        }
        g_device->nextEmpty = true;
        std::size_t n = std::min<std::size_t>(std::size_t(max), 5);
        if (!g_device->endless)
            n = std::min(n, PageBytes - g_device->offset);
        for (std::size_t i = 0; i < n; ++i)
            data[i] = pixelAt((g_device->offset + i) % PageBytes);
        g_device->offset += n;
        *length = SANE_Int(n);
        return SANE_STATUS_GOOD;
    };
    calls.cancel = [](SANE_Handle) {
        std::lock_guard<std::mutex> lock(g_device->mutex);
        g_device->cancellers.push_back(std::this_thread::get_id());
        g_device->cancelled = true;
        g_device->changed.notify_all();
    };
    return calls;
}

class ScanThreadTest : public testing::Test
{
protected:
    void SetUp() override { g_device = &device; }
    void TearDown() override { g_device = nullptr; }

    std::unique_ptr<ScanThread> makeScan(bool feeder, std::chrono::milliseconds grace = ScanThread::DefaultGrace,
                                         std::function<void()> rest = {})
    {
        ScanRequest r;
        r.feeder = feeder;
        r.sliceBytes = 64;
        return std::make_unique<ScanThread>(std::make_unique<ScanJob>(nullptr, r, scriptedCalls()),
                                            [this] {
                                                std::lock_guard<std::mutex> lock(newsMutex);
                                                ++news;
                                                newsChanged.notify_all();
                                            },
                                            grace, std::move(rest));
    }
    /// Waits for news until the progress satisfies the condition.
    ScanThread::Progress awaitProgress(ScanThread &scan, const std::function<bool(const ScanThread::Progress &)> &done)
    {
        const auto end = std::chrono::steady_clock::now() + GiveUp;
        for (;;) {
            const ScanThread::Progress p = scan.progress();
            if (done(p) || std::chrono::steady_clock::now() > end)
                return p;
            std::unique_lock<std::mutex> lock(newsMutex);
            const int seen = news;
            newsChanged.wait_until(lock, end, [&] { return news != seen; });
        }
    }
    /// Checks that the pages are the scripted page and frees them.
    void checkPages(ScanJob &job, std::size_t count)
    {
        std::vector<TW_HANDLE> pages = job.takePages();
        ASSERT_EQ(pages.size(), count);
        for (TW_HANDLE page : pages) {
            const auto *dib = static_cast<const uint8_t *>(GlobalLock(page));
            // 8-bit grey DIB: 40-byte header, 256 colours, rows of 8 bytes bottom up.
            int wrong = 0;
            for (int y = 0; y < ScriptedDevice::Lines; ++y)
                for (int x = 0; x < ScriptedDevice::Width; ++x)
                    wrong += dib[40 + 256 * 4 + (ScriptedDevice::Lines - 1 - y) * 8 + x]
                             != pixelAt(std::size_t(y * ScriptedDevice::Width + x));
            EXPECT_EQ(wrong, 0);
            GlobalUnlock(page);
            GlobalFree(page);
        }
    }
    /// Every call but the cancels on one thread, not this one.
    void checkOneScanThread()
    {
        ASSERT_EQ(device.threads.size(), 1u);
        EXPECT_NE(*device.threads.begin(), std::this_thread::get_id());
    }

    ScriptedDevice device;
    std::mutex newsMutex;
    std::condition_variable newsChanged;
    int news = 0;
};

} // namespace

TEST_F(ScanThreadTest, TheScanReadsEveryPageOnItsOwnAndTellsOnlyOfProgress)
{
    // The application's thread looks at nothing until the end: the scan
    // reads all pages all the same, and tells once that there is progress
    // (not again until someone looks), and once that it ended.
    device.sheets = 3;
    auto scan = makeScan(true);
    scan->wait();
    int told = 0;
    {
        // The news of the end follows the end.
        std::unique_lock<std::mutex> lock(newsMutex);
        newsChanged.wait_for(lock, GiveUp, [this] { return news >= 2; });
        told = news;
    }
    EXPECT_EQ(told, 2);
    const ScanThread::Progress end = scan->progress();
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.pages, 3);
    ScanJob &job = scan->job();
    ASSERT_EQ(job.phase(), ScanJob::Phase::Finished);
    EXPECT_TRUE(job.nonBlocking());
    // Every piece came after a read that found nothing; the page came whole.
    EXPECT_EQ(device.emptyReads, 3 * 6);
    checkPages(job, 3);
    checkOneScanThread();
    // The device is told the scan is over, from the scan's thread.
    ASSERT_EQ(device.cancellers.size(), 1u);
    EXPECT_EQ(device.cancellers[0], *device.threads.begin());
    EXPECT_FALSE(scan->interrupted());
}

TEST_F(ScanThreadTest, ACancelIsSeenBetweenReadsOnTheScansThread)
{
    // A page that never ends, read a piece at a time; the operator cancels
    // once it is under way. The grace is long: the reads return at once,
    // so nothing needs cancelling from outside.
    device.endless = true;
    auto scan = makeScan(false, std::chrono::seconds(60));
    awaitProgress(*scan, [](const ScanThread::Progress &p) { return p.percent == -1; });
    EXPECT_GT(device.emptyReads, 0);
    scan->cancel();
    EXPECT_TRUE(scan->cancelling() || scan->progress().ended);
    scan->wait();
    EXPECT_FALSE(scan->cancelling());
    ScanJob &job = scan->job();
    EXPECT_EQ(job.phase(), ScanJob::Phase::Cancelled);
    EXPECT_FALSE(job.failure());
    EXPECT_TRUE(job.takePages().empty());
    checkOneScanThread();
    ASSERT_EQ(device.cancellers.size(), 1u);
    EXPECT_EQ(device.cancellers[0], *device.threads.begin());
    EXPECT_FALSE(scan->interrupted());
}

TEST_F(ScanThreadTest, AReadOrAStartThatWaitsInTheDeviceIsCancelledThereAfterAMoment)
{
    for (const bool inStart : {false, true}) {
        SCOPED_TRACE(inStart ? "start" : "read");
        device.sheets = 3;
        device.sheet = -1;
        device.hanging = device.cancelled = false;
        device.cancellers.clear();
        device.threads.clear();
        // The second sheet stalls half way, or its start never ends.
        (inStart ? device.hangInStart : device.hangInRead) = 1;
        (inStart ? device.hangInRead : device.hangInStart) = -1;
        auto scan = makeScan(true, std::chrono::milliseconds(20));
        device.waitUntilHanging();
        ASSERT_TRUE(device.hanging);
        EXPECT_EQ(scan->progress().pages, 1);
        scan->cancel();
        scan->wait();
        EXPECT_TRUE(scan->interrupted());
        ScanJob &job = scan->job();
        EXPECT_EQ(job.phase(), ScanJob::Phase::Cancelled);
        EXPECT_FALSE(job.failure());
        checkPages(job, 1); // the sheet read before the cancel stays
        checkOneScanThread();
        // The cancel that freed the call came from elsewhere; the scan's
        // thread then ended the scan on the device as always, once. (Should
        // that last cancel itself take more than a grace, it is asked for
        // again from outside.)
        ASSERT_GE(device.cancellers.size(), 2u);
        EXPECT_NE(device.cancellers[0], *device.threads.begin());
        EXPECT_NE(device.cancellers[0], std::this_thread::get_id());
        EXPECT_EQ(std::count(device.cancellers.begin(), device.cancellers.end(), *device.threads.begin()), 1);
    }
}

TEST_F(ScanThreadTest, MemoryRunningOutFailsTheScanAndKeepsThePagesBeforeIt)
{
    device.sheets = 4;
    device.noMemoryInRead = 2;
    auto scan = makeScan(true);
    scan->wait();
    EXPECT_TRUE(scan->progress().ended);
    ScanJob &job = scan->job();
    EXPECT_EQ(job.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(job.failure().status, SANE_STATUS_NO_MEM);
    EXPECT_EQ(job.failure().condition, TWCC_LOWMEMORY);
    EXPECT_EQ(job.failure().message, QStringLiteral("Не хватает памяти для сканирования."));
    checkPages(job, 2);
    // The device is told the scan is over.
    EXPECT_EQ(device.cancellers.size(), 1u);
}

TEST_F(ScanThreadTest, ADescriptorThatStaysReadableWithNothingToReadRestsBetweenReads)
{
    // A hang-up leaves the descriptor readable for good while every read
    // finds nothing: each empty read is followed by a rest, not by the next
    // read at once.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ASSERT_EQ(::write(pipeFds[1], "x", 1), 1); // readable, never drained
    device.readyFd = pipeFds[0];
    device.nothingToRead = true;
    std::atomic<int> rests{0};
    auto scan = makeScan(false, std::chrono::seconds(60), [&] {
        if (++rests == 50)
            g_device->changed.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(device.mutex);
        device.changed.wait_for(lock, GiveUp, [&] { return rests >= 50; });
    }
    scan->cancel();
    scan->wait();
    EXPECT_GE(rests, 50);
    // One rest per empty read (the last read may not have rested yet).
    EXPECT_LE(device.emptyReads, rests + 1);
    EXPECT_EQ(scan->job().phase(), ScanJob::Phase::Cancelled);
    scan.reset();
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST_F(ScanThreadTest, ACallThatIgnoresTheCancelIsCancelledAgainThenGivenUp)
{
    // A network scanner hung in the frame's parameters and takes no notice
    // of the cancels. The call is cancelled from outside after each grace;
    // in the end the scan is given up, its device never called again, and
    // only should the call come back after all is the device handed back.
    device.sheets = 2;
    device.deafInParameters = true;
    auto scan = makeScan(true, std::chrono::milliseconds(5));
    device.waitUntilHanging();
    ASSERT_TRUE(device.hanging);
    scan->cancel();
    {
        std::unique_lock<std::mutex> lock(device.mutex);
        device.changed.wait_for(lock, GiveUp, [&] { return device.cancellers.size() >= 3; });
    }
    ASSERT_GE(device.cancellers.size(), 3u) << "the cancel is asked for again while the call waits";
    EXPECT_TRUE(scan->interrupted());
    EXPECT_FALSE(scan->progress().ended);

    std::mutex backMutex;
    std::condition_variable back;
    bool handedBack = false;
    ASSERT_TRUE(scan->abandon([&] {
        std::lock_guard<std::mutex> lock(backMutex);
        handedBack = true;
        back.notify_all();
    }));
    int callsThen = 0;
    std::size_t cancelsThen = 0;
    {
        std::lock_guard<std::mutex> lock(device.mutex);
        callsThen = device.calls;
        cancelsThen = device.cancellers.size();
    }
    scan.reset(); // returns at once: nothing waits for the scan any more
    {
        std::lock_guard<std::mutex> lock(backMutex);
        EXPECT_FALSE(handedBack);
    }
    {
        std::lock_guard<std::mutex> lock(device.mutex);
        device.released = true;
        device.changed.notify_all();
    }
    {
        std::unique_lock<std::mutex> lock(backMutex);
        back.wait_for(lock, GiveUp, [&] { return handedBack; });
        EXPECT_TRUE(handedBack);
    }
    std::lock_guard<std::mutex> lock(device.mutex);
    EXPECT_EQ(device.calls, callsThen);
    EXPECT_EQ(device.cancellers.size(), cancelsThen);
}

TEST_F(ScanThreadTest, AScanThatDoesNotEndInTimeIsGivenUpByItsOwner)
{
    // Destroying the scan waits TWAINSANE_ABANDON_MS for its end, then
    // leaves it to itself instead of hanging.
    qputenv("TWAINSANE_ABANDON_MS", "50");
    device.deafInParameters = true;
    auto scan = makeScan(false, std::chrono::milliseconds(5));
    device.waitUntilHanging();
    scan.reset();
    qunsetenv("TWAINSANE_ABANDON_MS");
    std::unique_lock<std::mutex> lock(device.mutex);
    EXPECT_TRUE(device.hanging);
    EXPECT_FALSE(device.returned);
    const int callsThen = device.calls;
    device.released = true; // the thread left behind ends on its own
    device.changed.notify_all();
    device.changed.wait_for(lock, GiveUp, [this] { return device.returned; });
    EXPECT_EQ(device.calls, callsThen);
}
