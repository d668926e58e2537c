#include "PageLoader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace mrz {

void AllowLargePages()
{
    if (QImageReader::allocationLimit() > 0 && QImageReader::allocationLimit() < kPageAllocationLimitMb)
        QImageReader::setAllocationLimit(kPageAllocationLimitMb);
}

namespace {

// A JPEG stream ends with the end-of-image marker; the decoder fills what is
// missing with grey and only warns, so the end is checked here.
bool JpegComplete(const QByteArray &bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && (bytes.at(end - 1) == '\0' || bytes.at(end - 1) == '\n' || bytes.at(end - 1) == '\r'))
        --end;
    return end >= 2 && uchar(bytes.at(end - 2)) == 0xFF && uchar(bytes.at(end - 1)) == 0xD9;
}

} // namespace

QImage LoadPage(const QByteArray &bytes, QString *error)
{
    AllowLargePages();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull()) {
        *error = reader.errorString();
        return {};
    }
    if (format == "jpeg" && !JpegComplete(bytes)) {
        *error = QStringLiteral("the JPEG data ends before the end of the picture (truncated file)");
        return {};
    }
    return image;
}

QImage LoadPageFile(const QString &path, QString *error)
{
    // A device or a pipe named as a page would be read without end (or wait
    // for a writer forever); a file larger than any decoded page is no page.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("%1: not a picture file").arg(path);
        return {};
    }
    if (info.size() > qint64(kPageAllocationLimitMb) * 1024 * 1024) {
        *error = QStringLiteral("%1: larger than any page picture (%2 MB)").arg(path).arg(kPageAllocationLimitMb);
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    QImage image = LoadPage(file.readAll(), error);
    if (image.isNull())
        *error = QStringLiteral("%1: %2").arg(path, *error);
    return image;
}

} // namespace mrz
