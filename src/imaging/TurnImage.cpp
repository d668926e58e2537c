#include "imaging/TurnImage.h"

#include <QPainter>
#include <QPointF>
#include <QTransform>
#include <array>
#include <new>

namespace imaging {

namespace {

// Where the source's upper-left, upper-right and lower-left corners land in
// the work bitmap for rotation index r, with W x H the source's size.
std::array<QPointF, 3> landingPoints(int r, int W, int H)
{
    switch (r) {
    case 1: return {QPointF(H, 0), QPointF(H, W), QPointF(0, 0)};
    case 2: return {QPointF(W, H), QPointF(0, H), QPointF(W, 0)};
    case 3: return {QPointF(0, W), QPointF(0, 0), QPointF(H, W)};
    default: return {QPointF(0, 0), QPointF(W, 0), QPointF(0, H)};
    }
}

// The affine map that takes (0,0), (W,0) and (0,H) to the three points.
QTransform parallelogram(const std::array<QPointF, 3> &p, int W, int H)
{
    return QTransform((p[1].x() - p[0].x()) / W, (p[1].y() - p[0].y()) / W,
                      (p[2].x() - p[0].x()) / H, (p[2].y() - p[0].y()) / H,
                      p[0].x(), p[0].y());
}

// The raster engine cannot draw into palette bitmaps.
bool paintable(QImage::Format format)
{
    return format != QImage::Format_Invalid && format != QImage::Format_Indexed8
        && format != QImage::Format_Mono && format != QImage::Format_MonoLSB;
}

} // namespace

int TurnedIndex(int index, TurnDirection direction)
{
    const int r = ((index % 4) + 4) % 4;
    return direction == TurnDirection::Right ? (r + 1) % 4 : (r + 3) % 4;
}

QImage TurnedPicture(const QImage &scan, int index, const QImage &shown)
{
    const int W = scan.width();
    const int H = scan.height();
    const bool odd = index % 2 == 1;

    // A fresh work bitmap takes the scan's format; an existing one keeps its own.
    const QImage::Format format = shown.format() != QImage::Format_Invalid ? shown.format() : scan.format();
    const QTransform transform = parallelogram(landingPoints(index, W, H), W, H);

    QImage turned;
    if (paintable(format)) {
        turned = QImage(odd ? H : W, odd ? W : H, format);
        if (turned.isNull())
            throw std::bad_alloc();
        QPainter painter(&turned);
        // A straight copy of the pixels, alpha included, with no resampling.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setTransform(transform);
        painter.drawImage(QPointF(0, 0), scan);
    } else {
        // Palette bitmaps: the image layer turns them itself, keeping the
        // colour table.
        turned = scan.transformed(transform);
        if (!turned.isNull() && turned.format() != format)
            turned = turned.convertToFormat(format, shown.colorTable());
        if (turned.isNull())
            throw std::bad_alloc();
    }
    const int dpmX = scan.dotsPerMeterX();
    const int dpmY = scan.dotsPerMeterY();
    turned.setDotsPerMeterX(odd ? dpmY : dpmX);
    turned.setDotsPerMeterY(odd ? dpmX : dpmY);
    return turned;
}

} // namespace imaging
