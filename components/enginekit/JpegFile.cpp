#include "JpegFile.h"

#include "TwainClient.h"

#include <QSysInfo>
#include <memory>
#include <turbojpeg.h>

namespace passportreader {

QString WriteJpegFile(const QImage &image, const QString &path, int quality)
{
    if (image.isNull())
        return QStringLiteral("There is no picture to save");
    // An opaque 32-bit page (every colour scan) is encoded from its own
    // memory, in the byte order it has there: the same colours, without a
    // 24-bit copy of the whole page first.
    const bool opaque32 = image.format() == QImage::Format_RGB32 && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const QImage rgb = opaque32 ? image : image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<void, int (*)(tjhandle)> tj(tjInitCompress(), tjDestroy);
    if (!tj)
        return QStringLiteral("The JPEG encoder could not be started");
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(tj.get(), rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                    opaque32 ? TJPF_BGRX : TJPF_RGB, &jpeg, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT) != 0) {
        const QString text = QString::fromLocal8Bit(tjGetErrorStr2(tj.get()));
        tjFree(jpeg);
        return QStringLiteral("JPEG encoding failed: %1").arg(text);
    }
    std::unique_ptr<unsigned char, void (*)(unsigned char *)> buffer(jpeg, tjFree);
    return twainclient::WritePageFile(path, {QByteArrayView(reinterpret_cast<const char *>(buffer.get()), qsizetype(size))});
}

} // namespace passportreader
