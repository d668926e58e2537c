// Pictures of whole pages made in mapped memory must behave as QImage's own.
#include "platform/PageImage.h"

#include <gtest/gtest.h>

namespace {

TEST(PageImage, APagePictureSharesDetachesAndOutlivesItsFirstOwner)
{
    QImage page = imaging::NewPageImage(2475, 3511, QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(2475, 3511));
    EXPECT_EQ(page.format(), QImage::Format_RGB32);
    EXPECT_EQ(page.bytesPerLine(), 2475 * 4);
    page.fill(qRgb(10, 20, 30));
    page.setPixel(2474, 3510, qRgb(1, 2, 3));

    QImage copy = page;
    EXPECT_FALSE(page.isDetached());
    copy.setPixel(0, 0, qRgb(200, 100, 50)); // writing through a copy detaches it
    EXPECT_EQ(page.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(copy.pixel(0, 0), qRgb(200, 100, 50));

    QImage kept = page;
    page = QImage();
    EXPECT_EQ(kept.pixel(2474, 3510), qRgb(1, 2, 3));
    EXPECT_EQ(kept.pixel(1000, 1000), qRgb(10, 20, 30));
    kept.setPixel(5, 5, qRgb(7, 8, 9)); // the only owner now: written in place
    EXPECT_EQ(kept.pixel(5, 5), qRgb(7, 8, 9));
}

TEST(PageImage, SmallOddAndImpossibleSizes)
{
    QImage small = imaging::NewPageImage(3, 2, QImage::Format_RGB32);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.size(), QSize(3, 2));

    // Rows of a 24-bit picture padded to 32 bits, as QImage pads them.
    QImage odd = imaging::NewPageImage(2001, 1500, QImage::Format_RGB888);
    ASSERT_FALSE(odd.isNull());
    EXPECT_EQ(odd.bytesPerLine(), 6004);
    odd.fill(Qt::white);
    EXPECT_EQ(odd.pixel(2000, 1499), qRgb(255, 255, 255));

    EXPECT_TRUE(imaging::NewPageImage(0, 10, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(imaging::NewPageImage(10, -1, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(imaging::NewPageImage(10, 10, QImage::Format_Invalid).isNull());
    EXPECT_TRUE(imaging::NewPageImage(1 << 30, 1 << 30, QImage::Format_RGB32).isNull());
}

} // namespace
