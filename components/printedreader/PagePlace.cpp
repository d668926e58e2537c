#include "PagePlace.h"

#include "MrzReader.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace printed {

namespace {

QImage Grey(const QImage &image)
{
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    // Transparent parts are paper, not black.
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        return flat.convertToFormat(QImage::Format_Grayscale8);
    }
    // Qt makes grey of packed and padded colour pixels by different sums: a
    // page reads the same whichever its scanner or file gave.
    return image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Grayscale8);
}

// Draws `source` through `t` (source points to target points) onto white
// paper of `size`.
QImage Render(const QImage &source, const QTransform &t, const QSize &size)
{
    QImage target(size, QImage::Format_RGB32);
    if (target.isNull())
        return {};
    target.fill(Qt::white);
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setTransform(t);
    p.drawImage(0, 0, source);
    p.end();
    return target.convertToFormat(QImage::Format_Grayscale8);
}

// The document's extent around its zone, in zone widths: left and right of
// the zone, above the zone's bottom. The internal passport's zone
// lies at the foot of the photo page and the issue page is above it.
struct Extent
{
    double side, above;
};

Extent ExtentOf(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::InternalPassport:
        return {0.12, 1.75};
    case DocumentKind::ForeignPassport:
        return {0.12, 0.90};
    case DocumentKind::DrivingLicence:
        break;
    }
    return {0.12, 0.90};
}

// A zone line is about 112 mm wide (44 characters of 2.54 mm); this many
// prepared pixels per millimetre give labels of 7 pt a readable size.
constexpr double kPixelsPerMm = 11.0;
constexpr double kZoneWidthMm = 112.0;

} // namespace

PreparedPage Reduced(const QImage &page)
{
    PreparedPage out;
    if (page.isNull())
        return out;
    const int side = std::max(page.width(), page.height());
    if (side > kLargestSide) {
        const double s = double(kLargestSide) / side;
        out.grey = Grey(page.scaled(std::max(1, int(page.width() * s)), std::max(1, int(page.height() * s)),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        out.toPage = QTransform::fromScale(double(page.width()) / out.grey.width(),
                                           double(page.height()) / out.grey.height());
    } else {
        out.grey = Grey(page);
    }
    return out;
}

PreparedPage PlaceByZone(const QImage &page, DocumentKind kind, const mrz::MrzResult &zone)
{
    PreparedPage out;
    if (page.isNull() || zone.zone.size() < 3)
        return out;
    // Upright and level: the page turned by the zone's turn, then back by
    // its skew, about the page's origin (the place is cut out afterwards).
    QTransform upright;
    upright.rotate(zone.turn);
    upright.rotate(-zone.skew);
    const QRectF z = upright.map(zone.zone).boundingRect();
    if (z.width() < 20)
        return out;
    const Extent e = ExtentOf(kind);
    // The zone itself is left out: it is read already, and Tesseract would
    // spend a third of the page's time on its long lines.
    const double top = z.bottom() - e.above * z.width();
    const QRectF doc(z.left() - e.side * z.width(), top, z.width() * (1 + 2 * e.side),
                     std::max(0.0, z.top() - 0.01 * z.width() - top));
    // Only what lies on the page: the upright page's bounds.
    const QRectF pageBounds = upright.mapRect(QRectF(QPointF(0, 0), QSizeF(page.size())));
    const QRectF place = doc.intersected(pageBounds);
    if (place.width() < 20 || place.height() < 20)
        return out;
    const double scale = std::clamp(kPixelsPerMm * kZoneWidthMm / z.width(), 0.2, 4.0);
    QTransform t = upright;
    t *= QTransform::fromTranslate(-place.left(), -place.top());
    t *= QTransform::fromScale(scale, scale);
    const QSize size(std::max(1, int(place.width() * scale)), std::max(1, int(place.height() * scale)));
    // Only the source pixels the place covers are drawn.
    const QRect sourceRect = t.inverted().mapRect(QRectF(QPointF(0, 0), QSizeF(size))).toAlignedRect()
                                 .intersected(page.rect());
    if (sourceRect.isEmpty())
        return out;
    const QTransform fromSource = QTransform::fromTranslate(sourceRect.left(), sourceRect.top()) * t;
    out.grey = Render(Grey(page.copy(sourceRect)), fromSource, size);
    out.toPage = t.inverted();
    return out;
}

PreparedPage Adjusted(const PreparedPage &prepared, double radians, double scale)
{
    if (prepared.grey.isNull())
        return prepared;
    const QSizeF s = prepared.grey.size();
    QTransform t;
    t.scale(scale, scale);
    t.translate(s.width() / 2, s.height() / 2);
    t.rotateRadians(radians);
    t.translate(-s.width() / 2, -s.height() / 2);
    const QRectF bounds = t.mapRect(QRectF(QPointF(0, 0), s));
    t *= QTransform::fromTranslate(-bounds.left(), -bounds.top());
    PreparedPage out;
    out.grey = Render(prepared.grey, t, bounds.size().toSize().expandedTo(QSize(1, 1)));
    out.toPage = t.inverted() * prepared.toPage;
    return out;
}

double ScaleFor(double medianLineHeight)
{
    if (!(medianLineHeight > 4))
        return 1.0;
    return std::clamp(kLineHeight / medianLineHeight, 0.25, 3.0);
}

} // namespace printed
