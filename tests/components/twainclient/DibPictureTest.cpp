// A native transfer's page as a picture, however large a page a scanner
// delivers.
#include "DibPicture.h"

#include "TwainClient.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
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

// A source may hand over its page in a block sized for the page it announced
// and end the page early: the file holds the page, nothing of the block's
// other bytes.
TEST(TwainClientDibPicture, AFileOfADibHoldsItsRowsAndNothingBeyond)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray page = Dib24(30, 20);
    const QByteArray block = page + QByteArray(5000, 'X');
    const twainclient::DibFile dib{std::shared_ptr<const void>(block.constData(), [](const void *) {}),
                                   std::size_t(block.size())};
    const QString path = dir.filePath(QStringLiteral("page.bmp"));
    ASSERT_EQ(twainclient::WriteDibFile(dib, path), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_EQ(written.size(), 14 + page.size());
    EXPECT_FALSE(written.contains('X'));
    EXPECT_EQ(QImage(path).size(), QSize(30, 20));
}
