#include "DibPicture.h"
#include "GreyPage.h"

#include "platform/PageLoader.h"
#include "platform/PageImage.h"
#include "platform/RowBands.h"

#include <QByteArray>
#include <QImageReader>
#include <QtEndian>
#include <cstring>
#include <limits>

namespace twainclient {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr quint32 BitFields = 3;

template <typename T>
T Field(const uchar *header, std::size_t offset)
{
    return qFromLittleEndian<T>(header + offset);
}

/// A 24-bit DIB without compression, the page every colour scan delivers,
/// read straight into the picture Qt's BMP reader makes of it (32-bit,
/// opaque, the header's resolution), without copying the scan into a file
/// image first; null when the DIB is of another kind.
QImage ColourDib(const uchar *header, std::size_t size, std::size_t rowsAt)
{
    const qint32 width = Field<qint32>(header, 4);
    const qint32 height = Field<qint32>(header, 8);
    if (Field<quint16>(header, 12) != 1 || Field<quint16>(header, 14) != 24 || Field<quint32>(header, 16) != 0
        || width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min())
        return QImage();
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    if (rowsAt > size || (size - rowsAt) / stride < std::size_t(rows))
        return QImage();
    // Beyond the reader's allocation limit its answer (no picture) stands.
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb > 0 && std::size_t(width) * std::size_t(rows) * 4 > std::size_t(limitMb) * 1024 * 1024)
        return QImage();
    QImage page = imaging::NewPageImage(width, rows, QImage::Format_RGB32);
    if (page.isNull())
        return QImage();
    const uchar *bits = header + rowsAt;
    uchar *pixels = page.bits(); // detached here, once, not in each band
    const qsizetype pageStride = page.bytesPerLine();
    imaging::InBands(rows, [&](int, int first, int end) {
        for (int y = first; y < end; ++y) {
            // Rows run bottom-up unless the height is negative.
            const uchar *from = bits + stride * std::size_t(height < 0 ? y : rows - 1 - y);
            QRgb *to = reinterpret_cast<QRgb *>(pixels + y * pageStride);
            for (qint32 x = 0; x < width; ++x, from += 3)
                to[x] = qRgb(from[2], from[1], from[0]);
        }
    });
    page.setDotsPerMeterX(Field<qint32>(header, 24));
    page.setDotsPerMeterY(Field<qint32>(header, 28));
    return page;
}

/// Where the DIB's rows begin (its header and colour table before them);
/// 0 when it is no DIB.
std::size_t RowsAt(const uchar *header, std::size_t size)
{
    if (!header || size < InfoHeaderSize)
        return 0;
    const quint32 headerSize = Field<quint32>(header, 0);
    const quint16 bits = Field<quint16>(header, 14);
    const quint32 compression = Field<quint32>(header, 16);
    const quint32 used = Field<quint32>(header, 32);
    if (headerSize < InfoHeaderSize || headerSize > size)
        return 0;
    std::size_t table = used ? used * 4u : (bits <= 8 ? (std::size_t(1) << bits) * 4u : 0);
    if (compression == BitFields && headerSize == InfoHeaderSize)
        table += 12;
    return headerSize + table;
}

/// How much of the block the DIB's header and rows take: a source may
/// hand over a block larger than its page (one sized for the page it
/// announced, ended early), and what lies beyond is no part of the picture.
std::size_t DibExtent(const uchar *header, std::size_t size, std::size_t rowsAt)
{
    const qint32 width = Field<qint32>(header, 4);
    const qint32 height = Field<qint32>(header, 8);
    const quint16 bits = Field<quint16>(header, 14);
    const quint32 compression = Field<quint32>(header, 16);
    const quint32 imageSize = Field<quint32>(header, 20);
    if (compression != 0 && compression != BitFields)
        return imageSize > 0 && imageSize <= size - rowsAt ? rowsAt + imageSize : size;
    if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min() || bits == 0 || bits > 32)
        return size;
    const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
    const std::size_t rows = std::size_t(height < 0 ? -qint64(height) : qint64(height));
    if (stride != 0 && (size - rowsAt) / stride >= rows)
        return rowsAt + stride * rows;
    return size;
}

/// The file header a BMP file of the DIB begins with; empty when it is no DIB.
QByteArray FileHeader(const void *dib, std::size_t size)
{
    const std::size_t rowsAt = RowsAt(static_cast<const uchar *>(dib), size);
    if (rowsAt == 0 || size > std::numeric_limits<quint32>::max() - FileHeaderSize)
        return QByteArray();
    QByteArray file(int(FileHeaderSize), '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(FileHeaderSize + size), file.data() + 2);
    qToLittleEndian<quint32>(quint32(FileHeaderSize + rowsAt), file.data() + 10);
    return file;
}

} // namespace

QImage DibPicture(const void *dib, std::size_t size)
{
    const auto *header = static_cast<const uchar *>(dib);
    const std::size_t rowsAt = RowsAt(header, size);
    if (rowsAt == 0)
        return QImage();
    if (Field<quint32>(header, 0) == InfoHeaderSize) {
        const QImage colour = ColourDib(header, size, rowsAt);
        if (!colour.isNull())
            return colour;
    }
    // Qt reads a BMP file: the same block behind the file's own header,
    // which says where the rows begin.
    QByteArray file = FileHeader(dib, size);
    if (file.isEmpty())
        return QImage();
    file.append(static_cast<const char *>(dib), qsizetype(size));
    // An A4 page in colour at 600 dpi is beyond Qt's default allowance, and
    // the engines read pages that large anyway.
    imaging::AllowLargePages();
    return QImage::fromData(file, "BMP");
}

QString WriteDibFile(const DibFile &dib, const QString &path)
{
    const auto *bytes = static_cast<const uchar *>(dib.bytes.get());
    const std::size_t rowsAt = RowsAt(bytes, dib.size);
    const std::size_t size = rowsAt ? DibExtent(bytes, dib.size, rowsAt) : 0;
    const QByteArray header = FileHeader(bytes, size);
    if (header.isEmpty())
        return QStringLiteral("The scanned page is no picture that can be written");
    return WritePageFile(path, {header, QByteArrayView(reinterpret_cast<const char *>(bytes), qsizetype(size))});
}

QImage InMode(const QImage &page, PictureMode mode)
{
    switch (mode) {
    case PictureMode::Colour: return page;
    case PictureMode::Grey:
        return page.isGrayscale() ? page : GreyPage(page);
    case PictureMode::BlackAndWhite:
        return page.depth() == 1 ? page : page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    }
    return page;
}

} // namespace twainclient
