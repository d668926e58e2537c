// A JPEG as the engine's picture fields and the cameras deliver it, decoded
// by the package: any bytes give a whole picture or an error; never a crash,
// never a partly decoded picture, never more memory than the reader's limit.
#include "FuzzCheck.h"
#include "imaging/JpegImage.h"

#include <QByteArray>
#include <QImageReader>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QImageReader::setAllocationLimit(128);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const QImage image = imaging::DecodeJpeg(bytes);
        FUZZ_CHECK(image.format() == QImage::Format_RGB32);
        FUZZ_CHECK(qint64(image.sizeInBytes()) <= qint64(QImageReader::allocationLimit()) * 1024 * 1024);
    } catch (const std::runtime_error &) {
    }
    return 0;
}
