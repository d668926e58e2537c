#include "PageImage.h"

#include "platform/LargeBlocks.h"

#include <cstdint>
#include <limits>

namespace imaging {

namespace {

// The mapping starts with its own length, for the clean-up that only gets
// one pointer back; the pixels follow on a cache-line boundary.
constexpr qsizetype PixelsOffset = 64;

r9mem::SpareBlock &spare()
{
    static auto *kept = new r9mem::SpareBlock; // pictures may go while the process ends
    return *kept;
}

void releasePageImage(void *mapping)
{
    spare().keep(mapping, *static_cast<std::size_t *>(mapping));
}

} // namespace

QImage NewPageImage(int w, int h, QImage::Format format)
{
    if (w <= 0 || h <= 0 || format == QImage::Format_Invalid)
        return QImage();
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows padded to 32 bits, as QImage lays them out itself.
    const qint64 bytesPerLine = ((qint64(w) * depth + 31) / 32) * 4;
    const qint64 pixels = bytesPerLine * h;
    if (bytesPerLine > std::numeric_limits<int>::max() / 2 || pixels > std::numeric_limits<qsizetype>::max() / 2)
        return QImage();
    const std::size_t total = std::size_t(PixelsOffset + pixels);
    if (!r9mem::IsLarge(total))
        return QImage(w, h, format);
    void *mapping = spare().take(total);
    if (!mapping)
        mapping = r9mem::MapLarge(total);
    if (!mapping)
        return QImage(w, h, format); // null when malloc has no room either
    *static_cast<std::size_t *>(mapping) = total;
    QImage image(static_cast<uchar *>(mapping) + PixelsOffset, w, h, qsizetype(bytesPerLine), format,
                 releasePageImage, mapping);
    if (image.isNull())
        r9mem::UnmapLarge(mapping, total);
    return image;
}

} // namespace imaging
