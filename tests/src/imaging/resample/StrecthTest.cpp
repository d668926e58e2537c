// Strecth as the host calls it: sizes, formats, edge pictures and failures.
#include "ResampleOracle.h"
#include "imaging/engResample.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

QImage Solid(int w, int h, QRgb colour, QImage::Format format = QImage::Format_BGR888)
{
    QImage image(w, h, format);
    image.fill(QColor(colour));
    return image;
}

const unsigned char *Px(const QImage &image, int x, int y)
{
    return image.constScanLine(y) + 3 * x;
}

TEST(Strecth, EqualSizeKeepsEveryPixelWithInterpolatingFilters)
{
    const QImage original = oracle::TestPicture(100, 100, 7);
    for (TFilterProc filter : {TriangleFilter, BoxFilter, HermiteFilter, Lanczos3Filter}) {
        QImage src = original;
        QImage dst(100, 100, QImage::Format_BGR888);
        Strecth(&src, &dst, filter, 1.0f);
        EXPECT_EQ(dst, original);
    }
}

TEST(Strecth, TwoByTwoToThreeByThreeKeepsCornersAndAveragesBetween)
{
    QImage src(2, 2, QImage::Format_BGR888);
    // bytes in memory order (blue, green, red)
    const unsigned char px[2][2][3] = {{{0, 100, 10}, {200, 50, 11}}, {{40, 0, 13}, {100, 255, 14}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            std::memcpy(src.scanLine(y) + 3 * x, px[y][x], 3);
    QImage dst(3, 3, QImage::Format_RGB32);
    Strecth(&src, &dst, TriangleFilter, 1.0f);

    ASSERT_EQ(dst.size(), QSize(3, 3));
    ASSERT_EQ(dst.format(), QImage::Format_BGR888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(std::memcmp(Px(dst, 2 * x, 2 * y), px[y][x], 3), 0) << x << "," << y;
    // top edge: (0,200)/2, (100,50)/2, (10,11)/2 = 10.5 -> 10 (ties to even)
    EXPECT_EQ(Px(dst, 1, 0)[0], 100);
    EXPECT_EQ(Px(dst, 1, 0)[1], 75);
    EXPECT_EQ(Px(dst, 1, 0)[2], 10);
    // bottom edge: 13.5 -> 14 (ties to even)
    EXPECT_EQ(Px(dst, 1, 2)[0], 70);
    EXPECT_EQ(Px(dst, 1, 2)[2], 14);
    // left edge
    EXPECT_EQ(Px(dst, 0, 1)[0], 20);
    EXPECT_EQ(Px(dst, 0, 1)[1], 50);
    // centre: the rounded edge averages averaged again: (100 + 70) / 2
    EXPECT_EQ(Px(dst, 1, 1)[0], 85);
    EXPECT_EQ(Px(dst, 1, 1)[2], 12); // (10 + 14) / 2
}

TEST(Strecth, NegativeLobesAreClampedToTheByteRange)
{
    // A hard 0 -> 255 step enlarged with Lanczos3 overshoots on both sides.
    QImage src(8, 1, QImage::Format_BGR888);
    for (int x = 0; x < 8; ++x)
        std::memset(src.scanLine(0) + 3 * x, x < 4 ? 0 : 255, 3);
    const TCListList lists = engResample::BuildContributors(8, 29, Lanczos3Filter, 3.0f);
    QImage dst(29, 1, QImage::Format_BGR888);
    Strecth(&src, &dst, Lanczos3Filter, 3.0f);
    bool sawAbove = false, sawBelow = false;
    for (int i = 0; i < 29; ++i) {
        float sum = 0.0f;
        for (const TContributor &c : lists[i].p)
            sum = std::fma(c.pixel < 4 ? 0.0f : 255.0f, c.weight, sum);
        if (sum > 255.0f) {
            sawAbove = true;
            EXPECT_EQ(Px(dst, i, 0)[1], 255) << i;
        }
        if (sum < 0.0f) {
            sawBelow = true;
            EXPECT_EQ(Px(dst, i, 0)[1], 0) << i;
        }
    }
    EXPECT_TRUE(sawAbove);
    EXPECT_TRUE(sawBelow);
}

TEST(Strecth, SourceWithoutColumnsOrRowsIsRefusedBeforeAnythingChanges)
{
    for (QSize size : {QSize(0, 5), QSize(5, 0), QSize(0, 0)}) {
        QImage src(size, QImage::Format_RGB32);
        QImage dst = Solid(4, 3, qRgb(1, 2, 3), QImage::Format_RGB32);
        const QImage before = dst;
        try {
            Strecth(&src, &dst, TriangleFilter, 1.0f);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error &e) {
            EXPECT_EQ(std::string(e.what()), "Source bitmap too small");
        }
        EXPECT_EQ(dst.format(), QImage::Format_RGB32);
        EXPECT_EQ(dst, before);
    }
}

TEST(Strecth, BadArgumentsAreRefusedAndLeaveThePicturesAlone)
{
    QImage src = Solid(4, 4, qRgb(9, 9, 9), QImage::Format_RGB32);
    QImage dst = Solid(2, 2, qRgb(1, 2, 3), QImage::Format_RGB32);
    EXPECT_THROW(Strecth(nullptr, &dst, TriangleFilter, 1.0f), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, nullptr, TriangleFilter, 1.0f), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, &dst, nullptr, 1.0f), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, &dst, TriangleFilter, NAN), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, &dst, TriangleFilter, -1.0f), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, &dst, TriangleFilter, INFINITY), std::invalid_argument);
    EXPECT_THROW(Strecth(&src, &dst, TriangleFilter, 1e30f), std::invalid_argument);
    EXPECT_EQ(src.format(), QImage::Format_RGB32);
    EXPECT_EQ(dst.format(), QImage::Format_RGB32);
    EXPECT_EQ(dst.pixel(1, 1), qRgb(1, 2, 3));
}

TEST(Strecth, ConvertsBothPicturesToTwentyFourBitsAndKeepsColours)
{
    QImage src = Solid(10, 6, qRgb(200, 100, 50), QImage::Format_ARGB32);
    QImage dst(23, 12, QImage::Format_Indexed8);
    Strecth(&src, &dst, MitchellFilter, 2.0f);
    EXPECT_EQ(src.format(), QImage::Format_BGR888);
    EXPECT_EQ(src.size(), QSize(10, 6));
    ASSERT_EQ(dst.format(), QImage::Format_BGR888);
    ASSERT_EQ(dst.size(), QSize(23, 12));
    // Enlarging, Mitchell's weights sum to one: a flat picture stays flat.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 23; ++x)
            EXPECT_EQ(dst.pixel(x, y), qRgb(200, 100, 50)) << x << "," << y;
}

TEST(Strecth, WideFiltersOnTinyPicturesStayInsideAndMatchTheReference)
{
    struct Case { int sw, sh, dw, dh; } cases[] = {
        {1, 1, 1, 1}, {1, 1, 9, 7}, {2, 1, 1, 3}, {2, 2, 17, 13}, {3, 3, 1, 1}, {3, 2, 2, 9}, {1, 4, 6, 1}};
    for (const Case &c : cases) {
        for (const TResampleFilter &f : ResampleFilters) {
            for (float width : {f.Width, 8.0f}) {
                SCOPED_TRACE(std::string(f.Name) + " " + std::to_string(c.sw) + "x" + std::to_string(c.sh) + "->" +
                             std::to_string(c.dw) + "x" + std::to_string(c.dh) + " w" + std::to_string(width));
                const QImage original = oracle::TestPicture(c.sw, c.sh, 3);
                for (const TCList &l : engResample::BuildContributors(c.sw, c.dw, f.Filter, width))
                    for (const TContributor &con : l.p) {
                        EXPECT_GE(con.pixel, 0);
                        EXPECT_LT(con.pixel, c.sw);
                    }
                QImage src = original;
                QImage dst(c.dw, c.dh, QImage::Format_BGR888);
                Strecth(&src, &dst, f.Filter, width);
                EXPECT_EQ(dst, oracle::Resize(original, c.dw, c.dh, f.Filter, width));
            }
        }
    }
}

TEST(Strecth, OnePixelSourceFillsTheTargetWithItsColour)
{
    QImage src = Solid(1, 1, qRgb(12, 34, 56));
    QImage dst(5, 4, QImage::Format_BGR888);
    Strecth(&src, &dst, TriangleFilter, 1.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(dst.pixel(x, y), qRgb(12, 34, 56));
}

TEST(Strecth, SingleRowAndSingleColumnPictures)
{
    const QImage row = oracle::TestPicture(37, 1, 11);
    const QImage column = oracle::TestPicture(1, 41, 12);
    for (const TResampleFilter &f : ResampleFilters) {
        SCOPED_TRACE(f.Name);
        QImage src = row;
        QImage dst(80, 1, QImage::Format_BGR888);
        Strecth(&src, &dst, f.Filter, f.Width);
        EXPECT_EQ(dst, oracle::Resize(row, 80, 1, f.Filter, f.Width));
        dst = QImage(11, 3, QImage::Format_BGR888);
        Strecth(&src, &dst, f.Filter, f.Width);
        EXPECT_EQ(dst, oracle::Resize(row, 11, 3, f.Filter, f.Width));

        src = column;
        dst = QImage(1, 100, QImage::Format_BGR888);
        Strecth(&src, &dst, f.Filter, f.Width);
        EXPECT_EQ(dst, oracle::Resize(column, 1, 100, f.Filter, f.Width));
    }
}

TEST(Strecth, SamePictureAsSourceAndTarget)
{
    const QImage original = oracle::TestPicture(30, 20, 5);
    QImage image = original;
    Strecth(&image, &image, BellFilter, 1.5f);
    EXPECT_EQ(image, oracle::Resize(original, 30, 20, BellFilter, 1.5f));

    // a target sharing the source's pixels gets its own
    QImage src = original;
    QImage dst = original;
    Strecth(&src, &dst, SplineFilter, 2.0f);
    EXPECT_EQ(src, original);
    EXPECT_EQ(dst, oracle::Resize(original, 30, 20, SplineFilter, 2.0f));
}

TEST(Strecth, TargetSharingItsPixelsLeavesTheOtherPictureAlone)
{
    const QImage original = oracle::TestPicture(9, 7, 31);
    const QImage before = oracle::TestPicture(18, 14, 32);
    QImage other = before.copy();
    QImage dst = other; // shares the pixels of `other`
    QImage src = original;
    Strecth(&src, &dst, BoxFilter, 0.5f);
    EXPECT_EQ(dst, oracle::Resize(original, 18, 14, BoxFilter, 0.5f));
    EXPECT_EQ(other, before);
}

TEST(Strecth, EmptyTargetGivesAnEmptyPicture)
{
    QImage src = oracle::TestPicture(5, 5, 1);
    QImage dst;
    Strecth(&src, &dst, TriangleFilter, 1.0f);
    EXPECT_TRUE(dst.isNull());
}

TEST(Strecth, ContributorListsGrowBeyondTheirRoomForGenerousFilters)
{
    // A kernel reaching further than the width it is given yields more
    // weights than trunc(2 * width + 1) = 4.
    TFilterProc flat = [](float x) { return std::fabs(x) <= 2.0f ? 1.0f : 0.0f; };
    const TCListList lists = engResample::BuildContributors(10, 10, flat, 1.5f);
    for (const TCList &l : lists) {
        EXPECT_EQ(l.n, static_cast<int>(l.p.size()));
        EXPECT_EQ(l.n, 5);
    }
    const TCListList shrink = engResample::BuildContributors(10, 4, flat, 1.5f);
    for (const TCList &l : shrink)
        EXPECT_EQ(l.n, static_cast<int>(l.p.size()));
}

} // namespace
