// A native transfer's page as a picture, however large a page a scanner
// delivers.
#include "DibPicture.h"

#include <QImageReader>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

/// A packed 24-bit DIB of width by height pixels.
QByteArray Dib24(int width, int height)
{
    const qsizetype stride = (qsizetype(width) * 3 + 3) / 4 * 4;
    QByteArray dib(40 + stride * height, '\x7f');
    auto *h = reinterpret_cast<uchar *>(dib.data());
    qToLittleEndian<quint32>(40, h);
    qToLittleEndian<qint32>(width, h + 4);
    qToLittleEndian<qint32>(height, h + 8);
    qToLittleEndian<quint16>(1, h + 12);
    qToLittleEndian<quint16>(24, h + 14);
    std::fill(h + 16, h + 40, uchar(0));
    return dib;
}

} // namespace

TEST(TwainClientDibPicture, PagesUpToA4InColourAt600DpiAreRead)
{
    // Qt's own allowance, whatever ran before.
    QImageReader::setAllocationLimit(128);
    struct Case
    {
        const char *page;
        int width, height;
    };
    for (const Case c : {Case{"a card at 300 dpi", 1012, 638}, Case{"A4 at 600 dpi", 4960, 7016}}) {
        SCOPED_TRACE(c.page);
        const QByteArray dib = Dib24(c.width, c.height);
        const QImage page = twainclient::DibPicture(dib.constData(), std::size_t(dib.size()));
        EXPECT_EQ(page.size(), QSize(c.width, c.height));
    }
}
