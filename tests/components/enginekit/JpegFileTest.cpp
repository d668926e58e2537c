// The engines' JPEG files: a 32-bit colour page encoded from its own memory
// is the very file its 24-bit copy makes.
#include "enginekit/JpegFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Written(const QImage &image, const QString &path, int quality)
{
    if (!passportreader::WriteJpegFile(image, path, quality).isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(JpegFile, AColourPageIsTheSameFileWhateverItsPixelFormat)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Case
    {
        int width, height, quality;
    };
    for (const Case c : {Case{1, 1, 90}, Case{17, 9, 75}, Case{64, 48, 100}, Case{123, 77, 35}}) {
        QImage page(c.width, c.height, QImage::Format_RGB32);
        QRandomGenerator rng(quint32(c.width * 7 + c.height));
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                page.setPixel(x, y, qRgb(rng.bounded(256), (x * 9) & 255, (y * 5) & 255));
        const QByteArray direct = Written(page, folder.filePath(QStringLiteral("direct.jpg")), c.quality);
        const QByteArray copied =
            Written(page.convertToFormat(QImage::Format_RGB888), folder.filePath(QStringLiteral("copied.jpg")), c.quality);
        ASSERT_FALSE(direct.isEmpty()) << c.width << "x" << c.height;
        EXPECT_EQ(direct, copied) << c.width << "x" << c.height;
    }
}

} // namespace
