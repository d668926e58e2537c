// The fast passes (vector and scalar, one thread and all) against the plain
// reference, byte for byte, on many sizes and every filter.
#include "ResampleOracle.h"
#include "imaging/engResample.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>

namespace {

struct Size4 { int sw, sh, dw, dh; };

std::vector<Size4> Sizes()
{
    std::vector<Size4> sizes = {
        {1, 1, 1, 1},     {1, 1, 4, 3},     {2, 2, 3, 3},     {3, 1, 7, 1},    {1, 5, 1, 2},
        {5, 7, 2, 3},     {13, 9, 31, 17},  {31, 17, 13, 9},  {64, 48, 64, 48}, {100, 3, 37, 11},
        {9, 100, 40, 7},  {17, 17, 1, 1},   {40, 30, 1, 20},  {33, 65, 97, 5}, {11, 11, 32, 32},
        {12, 5, 6, 10},   {7, 3, 43, 2},
    };
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> side(1, 60);
    for (int n = 0; n < 24; ++n)
        sizes.push_back({side(random), side(random), side(random), side(random)});
    return sizes;
}

void CompareAll(const engResample::TResampleOptions &options)
{
    unsigned seed = 1;
    for (const Size4 &s : Sizes()) {
        const QImage original = oracle::TestPicture(s.sw, s.sh, seed++);
        for (const TResampleFilter &f : ResampleFilters) {
            SCOPED_TRACE(std::string(f.Name) + " " + std::to_string(s.sw) + "x" + std::to_string(s.sh) + "->" +
                         std::to_string(s.dw) + "x" + std::to_string(s.dh));
            QImage src = original;
            QImage dst(s.dw, s.dh, QImage::Format_BGR888);
            engResample::StrecthWith(&src, &dst, f.Filter, f.Width, options);
            ASSERT_EQ(dst, oracle::Resize(original, s.dw, s.dh, f.Filter, f.Width));
        }
    }
}

TEST(ResampleOracle, ContributorListsMatch)
{
    for (const Size4 &s : Sizes())
        for (const TResampleFilter &f : ResampleFilters) {
            const TCListList fast = engResample::BuildContributors(s.sw, s.dw, f.Filter, f.Width);
            const TCListList plain = oracle::Contributors(s.sw, s.dw, f.Filter, f.Width);
            ASSERT_EQ(fast.size(), plain.size());
            for (std::size_t i = 0; i < fast.size(); ++i) {
                ASSERT_EQ(fast[i].n, plain[i].n) << f.Name << " " << i;
                for (int e = 0; e < fast[i].n; ++e) {
                    EXPECT_EQ(fast[i].p[e].pixel, plain[i].p[e].pixel);
                    EXPECT_EQ(fast[i].p[e].weight, plain[i].p[e].weight);
                }
            }
        }
}

TEST(ResampleOracle, VectorPassesMatchByteForByte)
{
    if (!engResample::SimdAvailable())
        GTEST_SKIP() << "this processor has no vector passes";
    CompareAll({1, true});
}

TEST(ResampleOracle, ScalarPassesMatchByteForByte)
{
    CompareAll({1, false});
}

bool IsCopy(const TCList &list)
{
    return list.n == 1 && list.p[0].weight == 1.0f;
}

// Enlargements where some or all lists are a single weight of 1, so rows
// and columns are copied rather than summed: the box at factors 2, 3 and
// uneven ones (every list a copy), and every filter where the factor is a
// whole number so that every second or third position falls on a source
// pixel (some lists copies, the rest summed), in both directions.
TEST(ResampleOracle, CopiedRowsAndColumnsMatch)
{
    struct Case { int sw, sh, dw, dh; } cases[] = {
        {20, 15, 40, 30}, {20, 15, 60, 45}, {13, 9, 29, 31}, {7, 11, 10, 17}, {41, 23, 41, 23},
        {21, 16, 41, 31}, {21, 16, 61, 46}, {3, 40, 9, 79}, {50, 2, 99, 3}, {1, 6, 5, 11},
        {301, 257, 601, 769},   // large enough for every core
    };
    unsigned seed = 500;
    for (const Case &c : cases) {
        const QImage original = oracle::TestPicture(c.sw, c.sh, seed++);
        for (const TResampleFilter &f : ResampleFilters) {
            SCOPED_TRACE(std::string(f.Name) + " " + std::to_string(c.sw) + "x" + std::to_string(c.sh) + "->" +
                         std::to_string(c.dw) + "x" + std::to_string(c.dh));
            if (f.Filter == BoxFilter) {
                const TCListList columns = engResample::BuildContributors(c.sw, c.dw, f.Filter, f.Width);
                const TCListList rows = engResample::BuildContributors(c.sh, c.dh, f.Filter, f.Width);
                ASSERT_TRUE(std::all_of(columns.begin(), columns.end(), IsCopy));
                ASSERT_TRUE(std::all_of(rows.begin(), rows.end(), IsCopy));
            }
            const QImage expected = oracle::Resize(original, c.dw, c.dh, f.Filter, f.Width);
            for (const engResample::TResampleOptions options :
                 {engResample::TResampleOptions{1, true}, engResample::TResampleOptions{1, false},
                  engResample::TResampleOptions{0, true}}) {
                QImage src = original;
                QImage dst(c.dw, c.dh, QImage::Format_BGR888);
                engResample::StrecthWith(&src, &dst, f.Filter, f.Width, options);
                ASSERT_EQ(dst, expected) << "threads " << options.maxThreads << " simd " << options.allowSimd;
            }
        }
    }
    // The whole-factor cases above do mix copies with sums.
    const TCListList mixed = engResample::BuildContributors(21, 41, TriangleFilter, 1.0f);
    EXPECT_TRUE(IsCopy(mixed[2]));
    EXPECT_FALSE(IsCopy(mixed[1]));
}

TEST(ResampleOracle, LargePicturesOnEveryCoreMatch)
{
    // Large enough that the passes are split among threads.
    struct Case { int sw, sh, dw, dh; } cases[] = {{301, 257, 640, 480}, {640, 480, 213, 161}};
    for (const Case &c : cases) {
        const QImage original = oracle::TestPicture(c.sw, c.sh, 99);
        for (int f : {1, 5, 6}) {
            SCOPED_TRACE(ResampleFilters[f].Name);
            const QImage expected = oracle::Resize(original, c.dw, c.dh, ResampleFilters[f].Filter, ResampleFilters[f].Width);
            for (bool simd : {true, false}) {
                QImage src = original;
                QImage dst(c.dw, c.dh, QImage::Format_BGR888);
                engResample::StrecthWith(&src, &dst, ResampleFilters[f].Filter, ResampleFilters[f].Width, {0, simd});
                ASSERT_EQ(dst, expected) << "simd " << simd;
            }
        }
    }
}

} // namespace
