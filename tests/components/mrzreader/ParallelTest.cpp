// The reader shares a page's work among threads: every part runs once, a
// part's failure reaches the caller, and a reading is the same on one core
// and on several. A reading done aside gives way to its caller's thread.

#include "MrzReader.h"
#include "PageGenerator.h"
#include "Parallel.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(MrzParallel, EveryPartRunsOnceAndAFailedPartIsToldWhenAllHaveEnded)
{
    constexpr std::size_t count = 997;
    std::vector<std::atomic<int>> runs(count);
    EXPECT_THROW(mrz::ForEach(count,
                              [&](std::size_t i, int worker) {
                                  ASSERT_GE(worker, 0);
                                  ASSERT_LT(worker, mrz::Workers());
                                  ++runs[i];
                                  if (i == 400)
                                      throw std::runtime_error("a part failed");
                              }),
                 std::runtime_error);
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(runs[i].load(), 1) << i;
    mrz::ForEach(0, [](std::size_t, int) { FAIL() << "no part to run"; });
}

TEST(MrzParallel, WorkAsideBehindGivesWayToItsCallerAndSoDoTheThreadsItStarts)
{
    const auto niceness = [] { return getpriority(PRIO_PROCESS, id_t(gettid())); };
    const int caller = niceness();
    if (caller >= 19)
        GTEST_SKIP() << "this process cannot be lowered further";
    const int workers = mrz::Workers();
    const auto [aside, helpers] = mrz::AsideBehind([&] {
        // Each part waits (a while at most) until every worker has one, so
        // that the helpers' own threads are seen, not only the first.
        std::vector<int> each(size_t(workers), -100);
        std::atomic<int> started{0};
        mrz::ForEach(each.size(), [&](std::size_t, int worker) {
            ++started;
            for (int wait = 0; started.load() < workers && wait < 2000; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            each[size_t(worker)] = niceness();
        });
        return std::pair(niceness(), each);
    }).get();
    EXPECT_GT(aside, caller);
    for (const int helper : helpers)
        EXPECT_EQ(helper, aside);
    EXPECT_EQ(niceness(), caller) << "the caller's own thread stays as it was";
    EXPECT_EQ(mrz::Aside([&] { return niceness(); }).get(), caller) << "work merely aside keeps its place";
}

TEST(MrzParallel, AReadingIsTheSameOnOneCoreAndOnSeveral)
{
    // A colour A4 scan turned on its side, a skewed card, a grey page, an
    // internal passport at an angle, a faint visa, and a page without a zone.
    struct Case
    {
        const char *format;
        int turn;
        double rotation;
        bool gray;
        double contrast;
        bool hasZone;
    };
    const Case cases[] = {{"TD3", 90, 0, false, 1.0, true}, {"TD1", 0, 4, false, 1.0, true},
                          {"TD2", 180, 0, true, 1.0, true}, {"RUSPN", 0, 23, false, 1.0, true},
                          {"MRVA", 270, 0, false, 0.5, true}, {"TD3", 0, 0, false, 1.0, false}};
    std::uint64_t seed = 11;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " turn " << c.turn << " rotation " << c.rotation);
        mrzpages::PageRecipe recipe;
        recipe.format = QString::fromLatin1(c.format);
        recipe.turn = c.turn;
        recipe.rotation = c.rotation;
        recipe.gray = c.gray;
        recipe.contrast = c.contrast;
        recipe.hasZone = c.hasZone;
        mrzpages::Random rng(++seed);
        const mrzpages::Page page = mrzpages::MakePage(recipe, mrzpages::RandomData(recipe.format, rng), rng);
        mrz::LimitWorkers(1);
        const mrz::MrzResult alone = mrz::ReadMrz(page.image);
        mrz::LimitWorkers(0);
        const mrz::MrzResult shared = mrz::ReadMrz(page.image);
        EXPECT_EQ(alone.found, c.hasZone);
        EXPECT_EQ(shared.found, alone.found);
        EXPECT_EQ(shared.lines, alone.lines);
        EXPECT_EQ(shared.confidence, alone.confidence);
        EXPECT_EQ(shared.trusted, alone.trusted);
        EXPECT_EQ(shared.checkFailed, alone.checkFailed);
        EXPECT_EQ(shared.likeness, alone.likeness);
        EXPECT_EQ(shared.turn, alone.turn);
        EXPECT_EQ(shared.skew, alone.skew);
        EXPECT_EQ(shared.zone, alone.zone);
    }
}

} // namespace
