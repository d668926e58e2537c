#include "DibPicture.h"

#include "PageLoader.h"

#include <QByteArray>
#include <QtEndian>
#include <cstring>

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

} // namespace

QImage DibPicture(const void *dib, std::size_t size)
{
    const auto *header = static_cast<const uchar *>(dib);
    if (!header || size < InfoHeaderSize)
        return QImage();
    const quint32 headerSize = Field<quint32>(header, 0);
    const quint16 bits = Field<quint16>(header, 14);
    const quint32 compression = Field<quint32>(header, 16);
    const quint32 used = Field<quint32>(header, 32);
    if (headerSize < InfoHeaderSize || headerSize > size)
        return QImage();
    // Qt reads a BMP file: the same block behind the file's own header,
    // which says where the rows begin.
    std::size_t table = used ? used * 4u : (bits <= 8 ? (std::size_t(1) << bits) * 4u : 0);
    if (compression == BitFields && headerSize == InfoHeaderSize)
        table += 12;
    QByteArray file(int(FileHeaderSize), '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(FileHeaderSize + size), file.data() + 2);
    qToLittleEndian<quint32>(quint32(FileHeaderSize + headerSize + table), file.data() + 10);
    file.append(static_cast<const char *>(dib), qsizetype(size));
    // An A4 page in colour at 600 dpi is beyond Qt's default allowance, and
    // the engines read pages that large anyway.
    mrz::AllowLargePages();
    return QImage::fromData(file, "BMP");
}

QImage InMode(const QImage &page, PictureMode mode)
{
    switch (mode) {
    case PictureMode::Colour: return page;
    case PictureMode::Grey:
        return page.isGrayscale() ? page : page.convertToFormat(QImage::Format_Grayscale8);
    case PictureMode::BlackAndWhite:
        return page.depth() == 1 ? page : page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    }
    return page;
}

} // namespace twainclient
