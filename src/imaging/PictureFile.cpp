#include "imaging/PictureFile.h"

#include "base/PackageTexts.h"
#include "imaging/JpegImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>
#include <stdexcept>

namespace imaging {

namespace {

// The Qt reader fills the missing lines of a cut-off bitmap and reports
// success; compare the pixel data the headers promise with what the file
// holds. Returns the reason when it falls short, else an empty string.
QString truncatedBitmap(const QByteArray &data)
{
    constexpr qsizetype fileHeader = 14;
    if (data.size() < fileHeader + 16 || !data.startsWith("BM"))
        return QString(); // not for us to judge; the reader will refuse it
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    const quint32 offBits = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width = 0, height = 0;
    quint32 bitCount = 0, compression = 0;
    if (infoSize == 12) { // the old core header
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bitCount = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && data.size() >= fileHeader + 40) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = std::llabs(qFromLittleEndian<qint32>(p + 22));
        bitCount = qFromLittleEndian<quint16>(p + 28);
        compression = qFromLittleEndian<quint32>(p + 30);
    } else {
        return QString();
    }
    const bool plain = compression == 0 || compression == 3 || compression == 6; // RGB and bit fields
    if (!plain || width <= 0 || bitCount == 0 || bitCount > 32)
        return QString();
    const qint64 stride = (width * bitCount + 31) / 32 * 4;
    // The headers may claim more pixel data than any integer holds: compare
    // by division, never form the product.
    const qint64 available = qint64(data.size()) - qint64(offBits);
    if (available >= 0 && (height == 0 || stride <= available / height))
        return QString();
    const double needed = double(offBits) + double(stride) * double(height);
    return QString(texts::PictureFileCut).arg(data.size()).arg(needed, 0, 'f', 0);
}

} // namespace

bool IsJpegFileName(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    return extension == QLatin1String("jpg") || extension == QLatin1String("jpeg");
}

QImage LoadPictureFile(const QString &fileName)
{
    if (IsJpegFileName(fileName))
        return LoadJpegFile(fileName);
    const QString extension = QFileInfo(fileName).suffix().toLower();

    const auto fail = [&](const QString &reason) {
        return std::runtime_error(QString(texts::PictureFileNotLoaded)
                                      .arg(fileName, reason).toStdString());
    };
    if (extension.isEmpty() || !QImageReader::supportedImageFormats().contains(extension.toLatin1()))
        throw fail(QString(texts::PictureFormatUnknown).arg(extension));

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw fail(file.errorString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw fail(file.errorString());
    if (extension == QLatin1String("bmp") || extension == QLatin1String("dib"))
        if (const QString reason = truncatedBitmap(data); !reason.isEmpty())
            throw fail(reason);

    // The extension decides the format; content of another format is an error.
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, extension.toLatin1());
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!reader.read(&image))
        throw fail(reader.errorString());
    return image;
}

} // namespace imaging
