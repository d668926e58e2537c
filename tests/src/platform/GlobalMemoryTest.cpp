// Global memory blocks the size of a scanned page: mapped whole, and the last
// one freed is taken again by the next page of its size. Whatever the route,
// a block must behave as any other: zero-filled when asked, its own size,
// refused once freed, and never shared with another live block.
#include "platform/GlobalMemory.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// A block too big for memory must meet an allocation that fails, as it does
// without the address checker, rather than the checker's report of a size
// it will not serve.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}
#endif

namespace {

constexpr std::size_t PageBytes = std::size_t(26) << 20;

bool allZero(const uint8_t *p, std::size_t n)
{
    return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

TEST(GlobalMemory, PageSizedBlocksAreZeroFilledEveryTimeTheyAreAskedToBe)
{
    for (int round = 0; round < 3; ++round) {
        HGLOBAL h = GlobalAlloc(GHND, PageBytes);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GlobalSize(h), PageBytes);
        auto *p = static_cast<uint8_t *>(GlobalLock(h));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(GlobalHandle(p), h);
        // The block of the round before held this pattern.
        EXPECT_TRUE(allZero(p, PageBytes)) << "round " << round;
        std::memset(p, 0xA5, PageBytes);
        GlobalUnlock(h);
        EXPECT_EQ(GlobalFree(h), nullptr);
        EXPECT_EQ(GlobalLock(h), nullptr);
        EXPECT_EQ(GlobalSize(h), 0u);
        EXPECT_EQ(GlobalFree(h), h) << "a second free is refused";
    }
}

TEST(GlobalMemory, PageSizedBlocksOfDifferentSizesAndAtOnceStayApart)
{
    // A freed page, then one of another size, then two of the first size at
    // once: each is written whole and keeps its own bytes.
    HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, PageBytes);
    ASSERT_NE(first, nullptr);
    std::memset(GlobalLock(first), 1, PageBytes);
    GlobalUnlock(first);
    GlobalFree(first);

    const std::size_t other = PageBytes / 3 + 12345;
    HGLOBAL smaller = GlobalAlloc(GMEM_MOVEABLE, other);
    ASSERT_NE(smaller, nullptr);
    EXPECT_EQ(GlobalSize(smaller), other);
    std::memset(GlobalLock(smaller), 2, other);

    HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE, PageBytes), b = GlobalAlloc(GMEM_MOVEABLE, PageBytes);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    auto *pa = static_cast<uint8_t *>(GlobalLock(a));
    auto *pb = static_cast<uint8_t *>(GlobalLock(b));
    std::memset(pa, 3, PageBytes);
    std::memset(pb, 4, PageBytes);
    EXPECT_TRUE(std::all_of(pa, pa + PageBytes, [](uint8_t v) { return v == 3; }));
    EXPECT_TRUE(std::all_of(pb, pb + PageBytes, [](uint8_t v) { return v == 4; }));
    auto *ps = static_cast<uint8_t *>(GlobalLock(smaller));
    EXPECT_TRUE(std::all_of(ps, ps + other, [](uint8_t v) { return v == 2; }));
    for (HGLOBAL h : {a, b, smaller, smaller})
        GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(a), nullptr);
    EXPECT_EQ(GlobalFree(b), nullptr);
    EXPECT_EQ(GlobalFree(smaller), nullptr);
}

TEST(GlobalMemory, ABlockTooLargeForMemoryIsRefused)
{
    EXPECT_EQ(GlobalAlloc(GHND, SIZE_MAX - 8), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX / 2), nullptr);
}

} // namespace
