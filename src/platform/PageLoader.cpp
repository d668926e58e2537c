#include "platform/PageLoader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace imaging {

void AllowLargePages()
{
    if (QImageReader::allocationLimit() > 0 && QImageReader::allocationLimit() < kPageAllocationLimitMb)
        QImageReader::setAllocationLimit(kPageAllocationLimitMb);
}

namespace {

// Reads a big-endian 16-bit segment length at i.
int SegmentLength(const QByteArray &bytes, qsizetype i)
{
    return (int(uchar(bytes.at(i))) << 8) | int(uchar(bytes.at(i + 1)));
}

// The decoder fills a picture whose data stops early with grey and only warns,
// so the stream is walked as the decoder walks it: segments by their lengths,
// entropy-coded data up to the next real marker, until the end-of-image marker.
// Whatever follows that marker (trailers some cameras and tools append) does
// not make the picture any less complete.
bool JpegReachesEnd(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    if (size < 4 || uchar(bytes.at(0)) != 0xFF || uchar(bytes.at(1)) != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 1 < size) {
        if (uchar(bytes.at(i)) != 0xFF) {
            ++i; // stray data between segments: the decoder skips it too
            continue;
        }
        const uchar marker = uchar(bytes.at(i + 1));
        if (marker == 0xFF) { // fill byte before a marker
            ++i;
            continue;
        }
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x00) {
            i += 2;
            continue;
        }
        if (i + 3 >= size)
            return false;
        const int length = SegmentLength(bytes, i + 2);
        if (length < 2)
            return false;
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data: a 0xFF in it is followed by a stuffed zero, a
        // restart marker or a fill byte; anything else is the next marker.
        while (i + 1 < size) {
            if (uchar(bytes.at(i)) != 0xFF) {
                ++i;
                continue;
            }
            const uchar next = uchar(bytes.at(i + 1));
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                i += 2;
            else if (next == 0xFF)
                ++i;
            else
                break;
        }
    }
    return false;
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
    if (format == "jpeg" && !JpegReachesEnd(bytes)) {
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

} // namespace imaging
