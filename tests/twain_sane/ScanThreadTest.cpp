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
#include "GlobalMemory.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
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
    bool hanging = false;
    bool cancelled = false;
    std::size_t offset = 0;
    int emptyReads = 0;
    bool nextEmpty = true;

    void called()
    {
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(std::this_thread::get_id());
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
        g_device->called();
        *p = SANE_Parameters{SANE_FRAME_GRAY, SANE_TRUE, ScriptedDevice::Width, ScriptedDevice::Width,
                             g_device->endless ? -1 : ScriptedDevice::Lines, 8};
        return SANE_STATUS_GOOD;
    };
    calls.setIoMode = [](SANE_Handle, SANE_Bool nonBlocking) {
        g_device->called();
        return nonBlocking ? SANE_STATUS_GOOD : SANE_STATUS_UNSUPPORTED;
    };
    calls.selectFd = [](SANE_Handle, SANE_Int *) {
        g_device->called();
        return SANE_STATUS_UNSUPPORTED;
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

    std::unique_ptr<ScanThread> makeScan(bool feeder, std::chrono::milliseconds grace = ScanThread::DefaultGrace)
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
                                            grace);
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
        // thread then ended the scan on the device as always.
        ASSERT_EQ(device.cancellers.size(), 2u);
        EXPECT_NE(device.cancellers[0], *device.threads.begin());
        EXPECT_NE(device.cancellers[0], std::this_thread::get_id());
        EXPECT_EQ(device.cancellers[1], *device.threads.begin());
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
