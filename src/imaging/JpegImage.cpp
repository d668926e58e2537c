#include "imaging/JpegImage.h"

#include "base/PackageTexts.h"
#include "platform/PageImage.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <stdexcept>
#include <turbojpeg.h>

namespace imaging {

namespace {

// One decompressor per call: decoding is rare and the handle is cheap.
class Decompressor
{
public:
    Decompressor() : m_handle(tjInitDecompress())
    {
        if (!m_handle)
            throw std::runtime_error(std::string("JPEG decoder unavailable: ") + tjGetErrorStr2(nullptr));
    }
    ~Decompressor() { tjDestroy(m_handle); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    tjhandle get() const { return m_handle; }
    [[noreturn]] void fail(const char *what) const
    {
        throw std::runtime_error(std::string(what) + ": " + tjGetErrorStr2(m_handle));
    }

private:
    tjhandle m_handle;
};

// The byte order of Format_RGB32 in memory; the decoder fills the fourth
// byte with 0xFF, as that format requires.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB;

/// Turns four bytes a pixel of ink (cyan, magenta, yellow, black) into
/// Format_RGB32 in place. Ink JPEG pictures store their ink inverted, as the
/// programs that write them do (255 is no ink), so each colour is its ink
/// value scaled by the black one.
void InkToColour(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uchar *ink = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x, ink += 4) {
            const int k = ink[3];
            line[x] = qRgb(ink[0] * k / 255, ink[1] * k / 255, ink[2] * k / 255);
        }
    }
}

} // namespace

QImage DecodeJpeg(const QByteArray &data)
{
    if (data.isEmpty())
        throw std::runtime_error("not a JPEG picture: no data");
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const auto size = static_cast<unsigned long>(data.size());

    Decompressor decoder;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(decoder.get(), bytes, size, &width, &height, &subsampling, &colorspace) != 0)
        decoder.fail("not a valid JPEG picture");
    if (width <= 0 || height <= 0)
        throw std::runtime_error("not a valid JPEG picture: empty frame");

    // The header's size is only a claim of the file; keep to the limit the
    // Qt readers apply before allocating for it.
    const qint64 needed = qint64(width) * qint64(height) * 4;
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb > 0 && needed > qint64(limitMb) * 1024 * 1024)
        throw std::runtime_error("JPEG picture too large: " + std::to_string(width) + " x " + std::to_string(height));

    QImage image = NewPageImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw std::runtime_error("not enough memory for the JPEG picture");

    // A warning (premature end of data, corrupt segment) leaves grey or
    // garbage lines behind: stop on it and report, never hand that out.
    constexpr int flags = TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING;
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    // The decoder gives ink pictures only as ink; they are read into the
    // picture's own memory (four bytes a pixel as well) and turned into colour there.
    if (tjDecompress2(decoder.get(), bytes, size, image.bits(), width, int(image.bytesPerLine()), height,
                      cmyk ? TJPF_CMYK : kPixelFormat, flags) != 0)
        decoder.fail("damaged JPEG picture");
    if (cmyk)
        InkToColour(image);
    return image;
}

QImage LoadJpegFile(const QString &fileName)
{
    const auto fail = [&](const QString &reason) -> std::runtime_error {
        return std::runtime_error(QString(texts::PictureFileNotLoaded)
                                      .arg(fileName, reason).toStdString());
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw fail(file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw fail(file.errorString());
    try {
        return DecodeJpeg(data);
    } catch (const std::runtime_error &e) {
        throw fail(QString::fromUtf8(e.what()));
    }
}

} // namespace imaging
