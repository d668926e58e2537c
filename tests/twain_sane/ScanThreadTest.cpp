// A scan on its own thread against a scripted device: every SANE call of
// the scan is made on that one thread, the application's event loop turns
// while a page is starting, non-blocking reads that find nothing (and no
// descriptor to wait on) end their step and the page still comes whole, and
// a cancel asked for between steps ends the scan on the scan's thread.
#include "ScanThread.h"
#include "GlobalMemory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

using twainsane::ScanJob;
using twainsane::ScanRequest;
using twainsane::ScanThread;

namespace {

/// One grey page of 6 x 4 pixels, read without waiting: each read answers
/// "nothing yet" before every piece it gives, as a device whose data comes
/// slower than the reads. Starting the page can be held until let go.
struct ScriptedDevice
{
    static constexpr int Width = 6, Lines = 4;
    std::mutex mutex;
    std::set<std::thread::id> threads; // where SANE calls were made
    bool holdStart = false;
    bool startEntered = false;
    bool startReleased = false;
    std::condition_variable startChanged;
    std::size_t offset = 0;
    int emptyReads = 0;
    bool nextEmpty = true;
    int cancels = 0;

    void called()
    {
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(std::this_thread::get_id());
    }
    void releaseStart()
    {
        std::lock_guard<std::mutex> lock(mutex);
        startReleased = true;
        startChanged.notify_all();
    }
};
ScriptedDevice *g_device = nullptr;

uint8_t pixelAt(std::size_t i) { return uint8_t(17 + 7 * i); }

twainsane::SaneCalls scriptedCalls()
{
    twainsane::SaneCalls calls;
    calls.start = [](SANE_Handle) {
        g_device->called();
        std::unique_lock<std::mutex> lock(g_device->mutex);
        g_device->startEntered = true;
        g_device->startChanged.notify_all();
        // Held as a lamp warming up would hold it (given up after a long
        // while, so a broken test fails instead of hanging).
        if (g_device->holdStart)
            g_device->startChanged.wait_for(lock, std::chrono::seconds(20), [] { return g_device->startReleased; });
        return SANE_STATUS_GOOD;
    };
    calls.parameters = [](SANE_Handle, SANE_Parameters *p) {
        g_device->called();
        *p = SANE_Parameters{SANE_FRAME_GRAY, SANE_TRUE, ScriptedDevice::Width, ScriptedDevice::Width,
                             ScriptedDevice::Lines, 8};
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
        constexpr std::size_t total = std::size_t(ScriptedDevice::Width) * ScriptedDevice::Lines;
        if (g_device->offset >= total)
            return SANE_STATUS_EOF;
        if (g_device->nextEmpty) {
            g_device->nextEmpty = false;
            ++g_device->emptyReads;
            return SANE_STATUS_GOOD; // nothing yet
        }
        g_device->nextEmpty = true;
        const std::size_t n = std::min<std::size_t>({std::size_t(max), 5, total - g_device->offset});
        for (std::size_t i = 0; i < n; ++i)
            data[i] = pixelAt(g_device->offset + i);
        g_device->offset += n;
        *length = SANE_Int(n);
        return SANE_STATUS_GOOD;
    };
    calls.cancel = [](SANE_Handle) {
        g_device->called();
        ++g_device->cancels;
    };
    return calls;
}

class ScanThreadTest : public testing::Test
{
protected:
    void SetUp() override { g_device = &device; }
    void TearDown() override { g_device = nullptr; }

    /// Runs the scan as the source does: a step asked for whenever the last
    /// is done, on this thread's event loop, until the job ends; `cancelNow`
    /// may ask for the cancel instead. Answers the requests made.
    int drive(ScanThread &scan, const std::function<bool(const ScanJob &)> &cancelNow = {})
    {
        int steps = 0;
        QEventLoop loop;
        std::function<void()> next = [&] {
            if (scan.busy())
                return;
            if (!scan.job().running()) {
                loop.quit();
                return;
            }
            ++steps;
            scan.request(cancelNow && cancelNow(scan.job()) ? ScanThread::Request::Cancel
                                                             : ScanThread::Request::Step);
        };
        setNews([&] { QMetaObject::invokeMethod(&context, next, Qt::QueuedConnection); });
        QTimer::singleShot(0, &context, next);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit); // a broken scan fails, not hangs
        loop.exec();
        scan.wait();
        setNews({});
        return steps;
    }
    void setNews(std::function<void()> f)
    {
        std::lock_guard<std::mutex> lock(newsMutex);
        news = std::move(f);
    }
    std::unique_ptr<ScanThread> makeScan()
    {
        ScanRequest r;
        r.sliceBytes = 64;
        return std::make_unique<ScanThread>(std::make_unique<ScanJob>(nullptr, r, scriptedCalls()), [this] {
            std::lock_guard<std::mutex> lock(newsMutex);
            if (news)
                news();
        });
    }

    ScriptedDevice device;
    QObject context;
    std::mutex newsMutex;
    std::function<void()> news;
};

} // namespace

TEST_F(ScanThreadTest, NonBlockingReadsThatFindNothingEndTheirStepAndThePageComesWhole)
{
    auto scan = makeScan();
    const int steps = drive(*scan);
    ScanJob &job = scan->job();
    ASSERT_EQ(job.phase(), ScanJob::Phase::Finished);
    EXPECT_TRUE(job.nonBlocking());
    EXPECT_EQ(job.selectFd(), -1);
    // Six pieces (the frame's last byte is asked for on its own), each
    // after a read that found nothing: that read ended its step, so no step
    // read more than one piece.
    EXPECT_EQ(device.emptyReads, 6);
    EXPECT_GE(steps, 1 + 6);
    std::vector<TW_HANDLE> pages = job.takePages();
    ASSERT_EQ(pages.size(), 1u);
    const auto *dib = static_cast<const uint8_t *>(GlobalLock(pages[0]));
    // 8-bit grey DIB: 40-byte header, 256 colours, rows of 8 bytes bottom up.
    int wrong = 0;
    for (int y = 0; y < ScriptedDevice::Lines; ++y)
        for (int x = 0; x < ScriptedDevice::Width; ++x)
            wrong += dib[40 + 256 * 4 + (ScriptedDevice::Lines - 1 - y) * 8 + x]
                     != pixelAt(std::size_t(y * ScriptedDevice::Width + x));
    EXPECT_EQ(wrong, 0);
    GlobalUnlock(pages[0]);
    GlobalFree(pages[0]);
    // Every call of the scan on one thread, and not this one.
    ASSERT_EQ(device.threads.size(), 1u);
    EXPECT_NE(*device.threads.begin(), std::this_thread::get_id());
}

TEST_F(ScanThreadTest, TheEventLoopTurnsWhileAPageStartsAndACancelEndsTheScanOnItsThread)
{
    device.holdStart = true;
    auto scan = makeScan();
    // This thread's timer lets the start go: it could not fire if the start
    // held this thread.
    QTimer release;
    int ticksDuringStart = 0;
    QObject::connect(&release, &QTimer::timeout, [&] {
        std::lock_guard<std::mutex> lock(device.mutex);
        if (device.startEntered && !device.startReleased && ++ticksDuringStart == 3) {
            device.startReleased = true;
            device.startChanged.notify_all();
        }
    });
    release.start(1);
    // The operator cancels once the page is under way.
    drive(*scan, [](const ScanJob &job) { return job.pagePercent() > 0; });
    EXPECT_EQ(ticksDuringStart, 3);
    ScanJob &job = scan->job();
    EXPECT_EQ(job.phase(), ScanJob::Phase::Cancelled);
    EXPECT_FALSE(job.failure());
    EXPECT_TRUE(job.takePages().empty());
    EXPECT_GE(device.cancels, 1);
    EXPECT_GT(device.offset, 0u);
    EXPECT_LT(device.offset, std::size_t(ScriptedDevice::Width) * ScriptedDevice::Lines);
    ASSERT_EQ(device.threads.size(), 1u);
    EXPECT_NE(*device.threads.begin(), std::this_thread::get_id());
}
