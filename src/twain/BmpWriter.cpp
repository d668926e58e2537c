#include "BmpWriter.h"

#include "DibLayout.h"
#include "twain/MultiTWAIN.h"

#include <cstring>

namespace twain {

bool WriteBmp(uint8_t *dib, std::size_t blockSize, const ByteSink &sink)
{
    const std::optional<DibLayout> l = ReadDibHeader(dib, blockSize);
    if (!l || l->width <= 0 || l->height == 0)
        return false;
    uint64_t sizeImage;
    if (l->uncompressed()) {
        // Rows are padded to 32 bits; a top-down DIB counts its rows too.
        sizeImage = l->rowBytes * l->rows();
        if (sizeImage > UINT32_MAX)
            return false;
    } else {
        sizeImage = l->sizeImage;
        if (sizeImage == 0)
            return false;
    }
    // The bits start after the header, the masks and the colour table as the
    // DIB really holds them (54 + 4 x colours for a plain info header).
    const uint64_t offBits = sizeof(TWAIN_BITMAPFILEHEADER) + l->bitsOffset;
    const uint64_t fileSize = offBits + sizeImage;
    if (fileSize > UINT32_MAX || fileSize - sizeof(TWAIN_BITMAPFILEHEADER) > blockSize)
        return false;
    // Only a DIB that will be written gets the recomputed size in its own
    // header; a refused one is left as the caller gave it.
    if (l->uncompressed() && !l->core) {
        const auto stored = static_cast<uint32_t>(sizeImage);
        std::memcpy(dib + offsetof(TWAIN_BITMAPINFOHEADER, biSizeImage), &stored, sizeof stored);
    }

    TWAIN_BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<uint32_t>(fileSize);
    file.bfOffBits = static_cast<uint32_t>(offBits);
    if (!sink(&file, sizeof file))
        return false;
    return sink(dib, static_cast<std::size_t>(fileSize - sizeof file));
}

QByteArray BmpBytes(uint8_t *dib, std::size_t blockSize)
{
    QByteArray bytes;
    const bool ok = WriteBmp(dib, blockSize, [&bytes](const void *data, std::size_t size) {
        bytes.append(static_cast<const char *>(data), static_cast<qsizetype>(size));
        return true;
    });
    return ok ? bytes : QByteArray();
}

} // namespace twain
