#include "imaging/QuarterTurn.h"

#include <QColorSpace>
#include <QTransform>
#include <gtest/gtest.h>

namespace {

/// A picture whose every pixel differs from its neighbours, so a pixel
/// taken from the wrong place shows.
QImage Pattern(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) & 0xff, (x * 13 + y * 29) & 0xff, (x ^ y) & 0xff));
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(5906);
    image.setColorSpace(QColorSpace::SRgb);
    return image.convertToFormat(format);
}

/// The turned picture's rows as they lie in memory, padding left out.
QByteArray Rows(const QImage &image)
{
    QByteArray rows;
    for (int y = 0; y < image.height(); ++y)
        rows.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * image.depth() / 8);
    return rows;
}

TEST(QuarterTurn, EveryTurnHasQtsPixelsAndKeepsThePicturesResolutionAndColours)
{
    // Sizes of more than one tile and of fewer, and with enough rows to
    // share the turn between threads, none a multiple of either; grey,
    // palette and colour pictures.
    for (const QSize size : {QSize(70, 65), QSize(301, 517), QSize(300, 17)})
        for (const QImage::Format format :
             {QImage::Format_Grayscale8, QImage::Format_Indexed8, QImage::Format_RGB32, QImage::Format_ARGB32,
              QImage::Format_RGB888})
            for (const int angle : {0, 90, 180, 270, -90, 450}) {
                const QImage picture = Pattern(size.width(), size.height(), format);
                const QImage expected = picture.transformed(QTransform().rotate((angle % 360 + 360) % 360));
                const QImage turned = imaging::QuarterTurned(picture, angle);
                const auto what = testing::Message() << size.width() << "x" << size.height() << " format "
                                                     << int(format) << " by " << angle;
                ASSERT_EQ(turned.format(), expected.format()) << what;
                ASSERT_EQ(turned.size(), expected.size()) << what;
                EXPECT_EQ(Rows(turned), Rows(expected)) << what;
                EXPECT_EQ(turned.colorTable(), picture.colorTable()) << what;
                EXPECT_EQ(turned.colorSpace(), picture.colorSpace()) << what;
                const bool across = (angle / 90) % 2 != 0;
                EXPECT_EQ(turned.dotsPerMeterX(), across ? picture.dotsPerMeterY() : picture.dotsPerMeterX()) << what;
                EXPECT_EQ(turned.dotsPerMeterY(), across ? picture.dotsPerMeterX() : picture.dotsPerMeterY()) << what;
            }
}

} // namespace
