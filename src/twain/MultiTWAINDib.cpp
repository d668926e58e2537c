// DIB geometry, palettes and drawing.
#include "MultiTWAIN_p.h"

#include "DibLayout.h"
#include "DefaultPalette.h"
#include "LockedBlock.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

std::optional<twain::DibLayout> headerOf(TWAIN_HDIB hdib)
{
    twain::LockedBlock block(hdib);
    if (!block)
        return std::nullopt;
    return twain::ReadDibHeader(block.data(), block.size());
}

/// Where the painter's pixels land unchanged in a 32-bit image: the image,
/// and the offset its pixels are moved by. Null when it paints elsewhere,
/// scales, clips, blends or paints with transparency.
QImage *plainImageTarget(QPainter *painter, QPoint &offset)
{
    QPaintDevice *device = painter->device();
    if (!device || device->devType() != QInternal::Image || painter->hasClipping() || painter->opacity() != 1.0
        || (painter->compositionMode() != QPainter::CompositionMode_SourceOver
            && painter->compositionMode() != QPainter::CompositionMode_Source))
        return nullptr;
    const QTransform t = painter->deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return nullptr;
    // A copy taken while painting shares the pixels the painter works on;
    // writing would give the image its own pixels behind the painter's back.
    auto *image = static_cast<QImage *>(device);
    if (!image->isDetached())
        return nullptr;
    offset = QPoint(int(t.dx()), int(t.dy()));
    return image;
}

} // namespace

extern "C" {

int32_t TWAIN_DibDepth(TWAIN_HDIB hdib)
{
    const auto l = headerOf(hdib);
    return l ? l->bitCount : 0;
}

int32_t TWAIN_DibWidth(TWAIN_HDIB hdib)
{
    const auto l = headerOf(hdib);
    return l ? l->width : 0;
}

int32_t TWAIN_DibHeight(TWAIN_HDIB hdib)
{
    const auto l = headerOf(hdib);
    return l ? l->height : 0;
}

int32_t TWAIN_DibNumColors(TWAIN_HDIB hdib)
{
    const auto l = headerOf(hdib);
    return l ? static_cast<int32_t>(l->colours) : 0;
}

TWAIN_HPALETTE TWAIN_CreateDibPalette(TWAIN_HDIB hdib)
{
    if (!hdib)
        return nullptr;
    twain::LockedBlock block(hdib);
    if (!block)
        return nullptr;
    const auto l = twain::ReadDibHeader(block.data(), block.size());
    if (!l)
        return nullptr;
    const uint32_t n = l->colours;
    // The colour table must be inside the block before it is copied.
    if (n != 0 && (n > l->tableEntries || l->bitsOffset > block.size()))
        return nullptr;
    const uint32_t entries = n != 0 ? n : 256u;
    auto *pal = static_cast<TWAIN_LOGPALETTE *>(
        std::calloc(1, offsetof(TWAIN_LOGPALETTE, palPalEntry) + entries * sizeof(TWAIN_PALETTEENTRY)));
    if (!pal)
        return nullptr;
    pal->palVersion = 0x300;
    pal->palNumEntries = static_cast<uint16_t>(entries);
    for (uint32_t i = 0; i < entries; ++i) {
        TWAIN_PALETTEENTRY &e = pal->palPalEntry[i];
        if (n != 0) {
            const QRgb c = twain::DibTableColour(*l, block.data(), i);
            e = TWAIN_PALETTEENTRY{uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)), 0};
        } else {
            e = twain::DefaultPalette()[i];
        }
    }
    return pal;
}

void TWAIN_DeletePalette(TWAIN_HPALETTE hpal)
{
    std::free(hpal);
}

void TWAIN_DrawDibToDC(TWAIN_HDC hDC, int32_t dx, int32_t dy, int32_t w, int32_t h, TWAIN_HDIB hdib, int32_t sx,
                       int32_t sy)
{
    auto *painter = static_cast<QPainter *>(hDC);
    if (!painter || !painter->isActive())
        return;
    twain::LockedBlock block(hdib);
    if (!block)
        return;
    const auto l = twain::ReadDibLayout(block.data(), block.size());
    if (!l)
        return;
    // Source coordinates count from the DIB's first stored row: the bottom
    // row of a bottom-up DIB, the top row of a top-down one. Same size on
    // both sides: no scaling.
    const int top = l->topDown() ? sy : int(l->rows()) - sy - h;
    const QRect source(sx, top, w, h);
    // A page drawn 1:1 into the window's bitmap is converted straight into
    // it: a second full-page picture would double the memory and the time.
    QPoint offset;
    if (QImage *target = plainImageTarget(painter, offset);
        target && twain::DibRowsInto(block.data(), block.size(), source, *target, QPoint(dx, dy) + offset))
        return;
    const QImage image = twain::DibToImage(block.data(), block.size());
    if (!image.isNull())
        painter->drawImage(QRect(dx, dy, w, h), image, source);
}

} // extern "C"
