// A transferred page as a picture: read straight from the DIB and turned
// grey colour by colour, it is the very picture Qt's BMP reader and grey
// conversion make of it.
#include "DibPicture.h"
#include "GreyPage.h"

#include <QBuffer>
#include <QColorSpace>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QImage Noise(int width, int height, quint32 seed, int shades)
{
    QImage page(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            page.setPixel(x, y, qRgb(rng.bounded(shades) * 255 / (shades - 1), rng.bounded(256), rng.bounded(256)));
    return page;
}

/// The DIB of a BMP file (without its file header), as a source hands it over.
QByteArray Dib(const QImage &page, int dpm, bool topDown)
{
    QImage picture = page;
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm + 7);
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    QByteArray dib = file.mid(14);
    if (topDown) {
        // The same rows in the order of a negative height.
        const qint32 height = qFromLittleEndian<qint32>(dib.constData() + 8);
        const qsizetype stride = (qsizetype(page.width()) * 3 + 3) & ~qsizetype(3);
        const qsizetype rows = qFromLittleEndian<quint32>(file.constData() + 10) - 14;
        QByteArray flipped = dib.left(rows);
        for (qint32 y = height - 1; y >= 0; --y)
            flipped += dib.mid(rows + y * stride, stride);
        qToLittleEndian<qint32>(-height, flipped.data() + 8);
        dib = flipped;
    }
    return dib;
}

TEST(TwainClientPagePicture, ColourDibIsWhatTheBmpReaderReads)
{
    struct Case
    {
        int width, height, dpm;
        bool topDown;
    };
    for (const Case c : {Case{1, 1, 0, false}, Case{5, 3, 11811, false}, Case{6, 4, 3937, true}, Case{7, 9, 11811, true},
                         Case{64, 33, 0, false}}) {
        const QImage page = Noise(c.width, c.height, quint32(c.width * 31 + c.height), 256);
        const QByteArray dib = Dib(page, c.dpm, c.topDown);
        const QImage direct = twainclient::DibPicture(dib.constData(), std::size_t(dib.size()));
        QByteArray file(14, '\0');
        file[0] = 'B';
        file[1] = 'M';
        qToLittleEndian<quint32>(quint32(14 + dib.size()), file.data() + 2);
        qToLittleEndian<quint32>(14 + 40, file.data() + 10);
        const QImage read = QImage::fromData(file + dib, "BMP");
        ASSERT_FALSE(read.isNull()) << c.width << "x" << c.height;
        EXPECT_EQ(direct.format(), read.format()) << c.width << "x" << c.height;
        EXPECT_EQ(direct, read) << c.width << "x" << c.height;
        EXPECT_EQ(direct, page.convertToFormat(direct.format())) << c.width << "x" << c.height;
        EXPECT_EQ(direct.dotsPerMeterX(), read.dotsPerMeterX()) << c.width << "x" << c.height;
        EXPECT_EQ(direct.dotsPerMeterY(), read.dotsPerMeterY()) << c.width << "x" << c.height;
        // Cut short, it is left to the reader (whose missing rows are
        // whatever its memory held).
        const QByteArray cut = dib.left(dib.size() - 4);
        const QImage short_ = twainclient::DibPicture(cut.constData(), std::size_t(cut.size()));
        const QImage readShort = QImage::fromData(file + cut, "BMP");
        EXPECT_EQ(short_.size(), readShort.size()) << c.width << "x" << c.height;
        EXPECT_EQ(short_.format(), readShort.format()) << c.width << "x" << c.height;
    }
}

TEST(TwainClientPagePicture, GreyPageIsQtsGreyOfEveryColour)
{
    // Few colours (a printed page) and many (noise), the same colour at many
    // places in a row, and rows that are no whole number of words long.
    for (const auto &[page, what] : {std::pair{Noise(333, 41, 1, 4), "few colours"},
                                     std::pair{Noise(1021, 517, 2, 256), "noise"},
                                     std::pair{Noise(7, 3, 3, 2), "tiny"}}) {
        const QImage expected = page.convertToFormat(QImage::Format_Grayscale8);
        const QImage grey = twainclient::GreyPage(page);
        EXPECT_EQ(grey.format(), QImage::Format_Grayscale8) << what;
        EXPECT_EQ(grey, expected) << what;
        EXPECT_EQ(grey.colorSpace(), expected.colorSpace()) << what;
        EXPECT_EQ(grey.dotsPerMeterX(), expected.dotsPerMeterX()) << what;
    }
    // Pictures of other kinds are Qt's conversion itself.
    const QImage indexed = Noise(9, 5, 4, 256).convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(twainclient::GreyPage(indexed), indexed.convertToFormat(QImage::Format_Grayscale8));
}

} // namespace
