// The scan's steps against a scripted device: the feeder's sheets until it
// is empty or enough are in, a fault on a later sheet or in the middle of a
// page keeping what was finished, a page too big for memory or one that
// never ends told as out of memory, the operator's cancel, and steps that
// never read more than a slice allows, and a device's reader thread left
// alone while it is busy.
#include "ScanJob.h"
#include "platform/GlobalMemory.h"
#include "SaneStatus.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

using twainsane::ScanJob;
using twainsane::ScanRequest;

namespace {

/// Sheets of grey 8-bit pages, 4 pixels wide; a sheet may fail half way.
struct ScriptedDevice
{
    struct Sheet
    {
        int lines = 3;
        SANE_Status failHalfWay = SANE_STATUS_GOOD;
        int width = 4;
        bool endless = false; // of unknown length, and never ends
    };
    std::vector<Sheet> sheets;
    int sheet = -1;
    std::size_t offset = 0;
    int cancels = 0;
    std::size_t largestRead = 0;

    const Sheet &current() const { return sheets[std::size_t(sheet)]; }
    std::size_t total() const
    {
        return current().endless ? SIZE_MAX : std::size_t(current().width) * std::size_t(current().lines);
    }
};
ScriptedDevice g_device;

twainsane::SaneCalls scriptedCalls()
{
    twainsane::SaneCalls calls;
    calls.start = [](SANE_Handle) {
        if (++g_device.sheet >= int(g_device.sheets.size()))
            return SANE_STATUS_NO_DOCS;
        g_device.offset = 0;
        return SANE_STATUS_GOOD;
    };
    calls.parameters = [](SANE_Handle, SANE_Parameters *p) {
        const ScriptedDevice::Sheet &s = g_device.current();
        *p = SANE_Parameters{SANE_FRAME_GRAY, SANE_TRUE, s.width, s.width, s.endless ? -1 : s.lines, 8};
        return SANE_STATUS_GOOD;
    };
    calls.setIoMode = [](SANE_Handle, SANE_Bool) { return SANE_STATUS_UNSUPPORTED; };
    calls.selectFd = [](SANE_Handle, SANE_Int *) { return SANE_STATUS_UNSUPPORTED; };
    calls.read = [](SANE_Handle, SANE_Byte *data, SANE_Int max, SANE_Int *length) {
        *length = 0;
        const ScriptedDevice::Sheet &s = g_device.sheets[std::size_t(g_device.sheet)];
        if (s.failHalfWay != SANE_STATUS_GOOD && g_device.offset >= g_device.total() / 2)
            return s.failHalfWay;
        if (g_device.offset >= g_device.total())
            return SANE_STATUS_EOF;
        g_device.largestRead = std::max(g_device.largestRead, std::size_t(max));
        const std::size_t n = std::min<std::size_t>(
            {std::size_t(max), s.endless ? std::size_t(max) : 5, g_device.total() - g_device.offset});
        for (std::size_t i = 0; i < n; ++i)
            data[i] = SANE_Byte(g_device.sheet * 10 + 1);
        g_device.offset += n;
        *length = SANE_Int(n);
        return SANE_STATUS_GOOD;
    };
    calls.cancel = [](SANE_Handle) { ++g_device.cancels; };
    return calls;
}

class ScanJobTest : public testing::Test
{
protected:
    void SetUp() override { g_device = ScriptedDevice{}; }
    /// Steps the job to its end; answers the number of steps.
    int run(ScanJob &job)
    {
        int steps = 0;
        while (job.step() && steps < 10000)
            ++steps;
        return steps;
    }
    /// Takes the pages and answers their first pixel's value (the sheet's mark).
    std::vector<int> marks(ScanJob &job)
    {
        std::vector<int> m;
        for (TW_HANDLE page : job.takePages()) {
            const auto *dib = static_cast<const uint8_t *>(GlobalLock(page));
            m.push_back(dib[40 + 256 * 4]);
            GlobalUnlock(page);
            GlobalFree(page);
        }
        return m;
    }
    ScanRequest feeder(int maxPages = -1)
    {
        ScanRequest r;
        r.feeder = true;
        r.maxPages = maxPages;
        return r;
    }
};

} // namespace

TEST_F(ScanJobTest, TheFeederGivesEverySheetUntilItIsEmptyOrEnoughAreIn)
{
    g_device.sheets.resize(3);
    ScanJob all(nullptr, feeder(), scriptedCalls());
    run(all);
    EXPECT_EQ(all.phase(), ScanJob::Phase::Finished);
    EXPECT_FALSE(all.failure());
    EXPECT_EQ(marks(all), (std::vector<int>{1, 11, 21}));

    g_device = ScriptedDevice{};
    g_device.sheets.resize(5);
    ScanJob two(nullptr, feeder(2), scriptedCalls());
    run(two);
    EXPECT_EQ(two.phase(), ScanJob::Phase::Finished);
    EXPECT_EQ(marks(two).size(), 2u);
    EXPECT_EQ(g_device.cancels, 1); // the device is told the scan is over

    // An empty feeder at the start is a fault.
    g_device = ScriptedDevice{};
    ScanJob none(nullptr, feeder(), scriptedCalls());
    run(none);
    EXPECT_EQ(none.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(none.failure().condition, TWCC_NOMEDIA);
}

TEST_F(ScanJobTest, AFaultKeepsTheSheetsFinishedBeforeIt)
{
    // A jam in the third sheet: two pages, the paper-jam condition.
    g_device.sheets = {{}, {}, {3, SANE_STATUS_JAMMED}, {}};
    ScanJob jam(nullptr, feeder(), scriptedCalls());
    run(jam);
    EXPECT_EQ(jam.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(jam.failure().condition, TWCC_PAPERJAM);
    EXPECT_EQ(marks(jam), (std::vector<int>{1, 11}));
    EXPECT_EQ(g_device.cancels, 1);

    // The device gone in the middle of a flatbed page: nothing half done.
    g_device = ScriptedDevice{};
    g_device.sheets = {{40, SANE_STATUS_IO_ERROR}};
    ScanJob gone(nullptr, ScanRequest{}, scriptedCalls());
    run(gone);
    EXPECT_EQ(gone.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(gone.failure().condition, TWCC_CHECKDEVICEONLINE);
    EXPECT_FALSE(gone.failure().message.isEmpty());
    EXPECT_TRUE(marks(gone).empty());
}

TEST_F(ScanJobTest, APageTooBigForMemoryOrOneThatNeverEndsFailsKeepingTheSheetsBefore)
{
    // The third sheet's page would need terabytes: memory, not the format,
    // is what fails.
    g_device.sheets = {{}, {}, {1 << 20, SANE_STATUS_GOOD, 1 << 20}, {}};
    ScanJob big(nullptr, feeder(), scriptedCalls());
    run(big);
    EXPECT_EQ(big.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(big.failure().condition, TWCC_LOWMEMORY);
    EXPECT_EQ(big.failure().message, QStringLiteral("Не хватает памяти для сканирования."));
    EXPECT_EQ(marks(big), (std::vector<int>{1, 11}));
    EXPECT_EQ(g_device.cancels, 1);

    // A page that never ends stops at the longest side a picture may have:
    // the device's fault, not memory's.
    g_device = ScriptedDevice{};
    ScriptedDevice::Sheet endless;
    endless.endless = true;
    g_device.sheets = {{}, endless, {}};
    ScanJob runaway(nullptr, feeder(), scriptedCalls());
    const int steps = run(runaway);
    EXPECT_LT(steps, 10000);
    EXPECT_EQ(runaway.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(runaway.failure().condition, TWCC_OPERATIONERROR);
    EXPECT_EQ(runaway.failure().message, QStringLiteral("Страница слишком длинная: сканер не сообщил её конец."));
    EXPECT_GE(g_device.offset, std::size_t(4) << 20); // 2^20 lines of 4 bytes
    EXPECT_LT(g_device.offset, std::size_t(5) << 20);
    EXPECT_EQ(marks(runaway), (std::vector<int>{1}));

    // A format no picture is made of stays the device's unsupported operation.
    g_device = ScriptedDevice{};
    g_device.sheets = {{}, {3, SANE_STATUS_GOOD, 0}};
    ScanJob odd(nullptr, feeder(), scriptedCalls());
    run(odd);
    EXPECT_EQ(odd.phase(), ScanJob::Phase::Failed);
    EXPECT_EQ(odd.failure().status, SANE_STATUS_UNSUPPORTED);
    EXPECT_EQ(marks(odd), (std::vector<int>{1}));
}

TEST_F(ScanJobTest, StepsReadNoMoreThanASliceAndCancelStopsBetweenThem)
{
    g_device.sheets = {{}, {20}};
    ScanRequest r = feeder();
    r.sliceBytes = 3;
    ScanJob job(nullptr, r, scriptedCalls());
    // The first sheet: a start, then 12 bytes in steps of at most 3, then its end.
    int lastPercent = -1;
    while (job.pageCount() == 0 && job.step()) {
        EXPECT_GE(job.pagePercent(), lastPercent == 100 ? 0 : lastPercent);
        lastPercent = job.pagePercent();
    }
    EXPECT_LE(g_device.largestRead, 3u);
    // Part of the second sheet, then the operator cancels.
    job.step();
    job.step();
    job.step();
    EXPECT_GT(job.pagePercent(), 0);
    EXPECT_LT(job.pagePercent(), 100);
    job.cancel();
    EXPECT_FALSE(job.running());
    EXPECT_FALSE(job.step());
    EXPECT_EQ(job.phase(), ScanJob::Phase::Cancelled);
    EXPECT_FALSE(job.failure());
    EXPECT_EQ(marks(job), (std::vector<int>{1}));
}

namespace {

/// A device that starts a reader thread with each page, as SANE's test
/// backend does, and stops it when the page ends or is cancelled. The
/// reader is busy for a while first (as one filling its buffer is), then
/// waits on its pipe; the device notes whether it was stopped while busy.
struct ThreadedDevice
{
    std::atomic<bool> readerBusy{false};
    bool stoppedBusy = false;
    int stops = 0;
    int pipe[2] = {-1, -1};
    std::thread reader;
    SANE_Status readStatus = SANE_STATUS_GOOD;
    std::size_t offset = 0;

    void stopReader()
    {
        stoppedBusy = stoppedBusy || readerBusy.load();
        ++stops;
        if (reader.joinable()) {
            ::close(pipe[1]);
            reader.join();
            ::close(pipe[0]);
        }
    }
};
ThreadedDevice *g_threaded = nullptr;

twainsane::SaneCalls threadedCalls()
{
    twainsane::SaneCalls calls = scriptedCalls();
    calls.start = [](SANE_Handle) {
        if (::pipe(g_threaded->pipe) != 0)
            return SANE_STATUS_IO_ERROR;
        g_threaded->readerBusy = true;
        g_threaded->reader = std::thread([] {
            [[maybe_unused]] volatile int sink = 0;
            for (int i = 0; i < 20000000; ++i)
                sink = i;
            g_threaded->readerBusy = false;
            char byte;
            [[maybe_unused]] const ssize_t n = ::read(g_threaded->pipe[0], &byte, 1);
        });
        g_threaded->offset = 0;
        return SANE_STATUS_GOOD;
    };
    calls.parameters = [](SANE_Handle, SANE_Parameters *p) {
        *p = SANE_Parameters{SANE_FRAME_GRAY, SANE_TRUE, 4, 4, 3, 8};
        return SANE_STATUS_GOOD;
    };
    calls.read = [](SANE_Handle, SANE_Byte *data, SANE_Int max, SANE_Int *length) {
        *length = 0;
        if (g_threaded->readStatus != SANE_STATUS_GOOD)
            return g_threaded->readStatus;
        const std::size_t n = std::min<std::size_t>(std::size_t(max), 12 - g_threaded->offset);
        std::fill(data, data + n, SANE_Byte(7));
        g_threaded->offset += n;
        *length = SANE_Int(n);
        if (n && g_threaded->offset == 12)
            g_threaded->stopReader(); // the read that ends the page ends its reader
        return n ? SANE_STATUS_GOOD : SANE_STATUS_EOF;
    };
    calls.cancel = [](SANE_Handle) {
        if (g_threaded->reader.joinable())
            g_threaded->stopReader();
    };
    return calls;
}

} // namespace

TEST_F(ScanJobTest, ADevicesReaderThreadIsNotStoppedWhileItIsBusy)
{
    // A fault at the first read: the cancel waits for the reader.
    for (SANE_Status fault : {SANE_STATUS_IO_ERROR, SANE_STATUS_JAMMED}) {
        ThreadedDevice device;
        device.readStatus = fault;
        g_threaded = &device;
        ScanJob job(nullptr, ScanRequest(), threadedCalls());
        run(job);
        EXPECT_EQ(job.phase(), ScanJob::Phase::Failed);
        EXPECT_EQ(device.stops, 1);
        EXPECT_FALSE(device.stoppedBusy);
    }
    // The page read whole: the read that ends it waits for the reader too.
    ThreadedDevice device;
    g_threaded = &device;
    ScanJob job(nullptr, ScanRequest(), threadedCalls());
    run(job);
    EXPECT_EQ(job.phase(), ScanJob::Phase::Finished);
    EXPECT_EQ(job.pageCount(), 1);
    EXPECT_EQ(device.stops, 1);
    EXPECT_FALSE(device.stoppedBusy);
    g_threaded = nullptr;
}
