#include "SpecimenPages.h"

#include "platform/GlobalMemory.h"
#include "MultiTWAIN.h" // the bitmap header record only; nothing of the package is linked

#include <QDir>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <vector>

namespace specimen {

namespace {

using InfoHeader = TWAIN_BITMAPINFOHEADER;

QImage drawnPage(int index)
{
    QImage page(850, 550, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setPen(QPen(Qt::darkBlue, 6));
    p.drawRect(page.rect().adjusted(20, 20, -20, -20));
    p.fillRect(60, 60, 200, 260, QColor(180, 120, 90));
    QFont f = p.font();
    f.setPixelSize(40);
    p.setFont(f);
    p.drawText(QRect(300, 60, 500, 120), Qt::AlignLeft, QStringLiteral("Specimen page %1").arg(index + 1));
    return page;
}

} // namespace

QImage PagePicture(const QString &folder, int index, double dpi)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    QImage picture;
    if (!names.isEmpty())
        picture.load(QDir(folder).filePath(names.at(index % names.size())));
    if (picture.isNull())
        picture = drawnPage(index);
    if (dpi > 0 && std::abs(dpi - PictureDpi) > 0.01) {
        const int w = std::max(1, int(std::lround(picture.width() * dpi / PictureDpi)));
        const int h = std::max(1, int(std::lround(picture.height() * dpi / PictureDpi)));
        picture = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

TW_HANDLE MakeDib(const QImage &picture, int pixelType, double dpi)
{
    const int w = picture.width();
    const int h = picture.height();
    std::vector<QRgb> table;
    uint16_t bits = 24;
    QImage indexed;
    switch (pixelType) {
    case TWPT_BW:
        bits = 1;
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        break;
    case TWPT_GRAY:
        bits = 8;
        for (int i = 0; i < 256; ++i)
            table.push_back(qRgb(i, i, i));
        break;
    case TWPT_PALETTE:
        bits = 8;
        indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        for (QRgb c : indexed.colorTable())
            table.push_back(c);
        break;
    default:
        break;
    }
    const std::size_t rowBytes = (std::size_t(w) * bits + 31) / 32 * 4;
    const std::size_t bitsSize = rowBytes * std::size_t(h);
    const std::size_t headerAndTable = sizeof(InfoHeader) + 4 * table.size();
    TW_HANDLE block = GlobalAlloc(GHND, headerAndTable + bitsSize);
    auto *dib = static_cast<uint8_t *>(GlobalLock(block));
    if (!dib) {
        GlobalFree(block);
        return nullptr;
    }
    const auto ppm = static_cast<int32_t>(std::lround(dpi / 0.0254));
    const InfoHeader header{40, w, h, 1, bits, 0, uint32_t(bitsSize), ppm, ppm,
                            pixelType == TWPT_PALETTE ? uint32_t(table.size()) : 0u, 0};
    std::memcpy(dib, &header, sizeof header);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const uint8_t entry[4] = {uint8_t(qBlue(table[i])), uint8_t(qGreen(table[i])), uint8_t(qRed(table[i])), 0};
        std::memcpy(dib + sizeof header + 4 * i, entry, 4);
    }
    uint8_t *pixels = dib + headerAndTable;
    for (int y = 0; y < h; ++y) {
        // Bottom-up: the picture's last row is stored first.
        uint8_t *row = pixels + std::size_t(h - 1 - y) * rowBytes;
        const auto *src = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        switch (bits) {
        case 1:
            for (int x = 0; x < w; ++x)
                if (qGray(src[x]) >= 128)
                    row[x / 8] |= uint8_t(0x80u >> (x % 8));
            break;
        case 8:
            if (pixelType == TWPT_PALETTE)
                std::memcpy(row, indexed.constScanLine(y), std::size_t(w));
            else
                for (int x = 0; x < w; ++x)
                    row[x] = uint8_t(qGray(src[x]));
            break;
        default:
            for (int x = 0; x < w; ++x) {
                row[3 * x] = uint8_t(qBlue(src[x]));
                row[3 * x + 1] = uint8_t(qGreen(src[x]));
                row[3 * x + 2] = uint8_t(qRed(src[x]));
            }
            break;
        }
    }
    GlobalUnlock(block);
    return block;
}

} // namespace specimen
