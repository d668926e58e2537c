// Loading page pictures: a JPEG counts as cut off only when its data stops
// before the end-of-image marker, whatever bytes follow that marker.

#include "platform/PageLoader.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

using namespace imaging;

namespace {

QByteArray Jpeg(bool progressive = false)
{
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int i = 0; i < 12; ++i)
        painter.fillRect(i * 20, i * 13 % 150, 14, 9, QColor(i * 20, 40, 200 - i * 15));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(80);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// An application segment as cameras write them, holding a thumbnail with its
// own end-of-image marker, placed right after the start-of-image marker.
QByteArray WithThumbnailSegment(const QByteArray &jpeg)
{
    QByteArray payload = QByteArray("Exif\0\0", 6) + Jpeg().left(300) + QByteArray("\xFF\xD9", 2);
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(payload.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

} // namespace

TEST(PageLoader, CompleteJpegsLoadWhateverFollowsTheirEnd)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const QByteArray jpeg = Jpeg(progressive);
        const QList<QByteArray> trailers = {
            {},
            QByteArray("\xFF\xFF\xFF\x00", 4),
            QByteArray("\0\0\n", 3),
            QByteArrayLiteral("Exif trailer written after the picture \x01\x02\xFF\xD8 and more"),
        };
        for (const QByteArray &trailer : trailers) {
            QString error;
            EXPECT_FALSE(LoadPage(jpeg + trailer, &error).isNull()) << error.toStdString();
            EXPECT_FALSE(LoadPage(WithThumbnailSegment(jpeg) + trailer, &error).isNull()) << error.toStdString();
        }
    }
}

TEST(PageLoader, JpegsCutOffBeforeTheirEndAreRefused)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const QByteArray jpeg = WithThumbnailSegment(Jpeg(progressive));
        // Cut in the entropy-coded data, then padded as a copy tool might: a
        // thumbnail's end marker earlier in the file does not make it whole.
        for (const QByteArray &padding : {QByteArray(), QByteArray("\0\0\0\0", 4), QByteArray("\xFF\xFF", 2)}) {
            QString error;
            const QImage image = LoadPage(jpeg.left(jpeg.size() * 3 / 4) + padding, &error);
            EXPECT_TRUE(image.isNull());
            EXPECT_TRUE(error.contains(QLatin1String("truncated"))) << error.toStdString();
        }
    }
}
