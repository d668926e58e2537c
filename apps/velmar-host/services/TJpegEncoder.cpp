#include "TJpegEncoder.h"

#include <turbojpeg.h>

namespace hostkit {

QByteArray EncodeJpeg(const QImage &image, int quality)
{
    if (image.isNull())
        return {};
    // RGB32 is 0xffRRGGBB in native byte order: B, G, R, X in memory on the
    // little-endian machines we run on.
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

    tjhandle handle = tjInitCompress();
    if (!handle)
        return {};
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    QByteArray result;
    if (tjCompress2(handle, source.constBits(), source.width(), static_cast<int>(source.bytesPerLine()),
                    source.height(), pixelFormat, &jpeg, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT) == 0)
        result = QByteArray(reinterpret_cast<const char *>(jpeg), static_cast<qsizetype>(size));
    tjFree(jpeg);
    tjDestroy(handle);
    return result;
}

} // namespace hostkit
