#include "Placement.h"

#include "Degradation.h"

#include <QLineF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace mrzpages {

namespace {

// The card's outline after aspect change, keystone and rotation, in a frame
// whose origin is free (the caller places it).
QPolygonF CardQuad(const PageRecipe &recipe, QSizeF card)
{
    QPolygonF q({QPointF(0, 0), QPointF(card.width(), 0), QPointF(card.width(), card.height() * recipe.aspect),
                 QPointF(0, card.height() * recipe.aspect)});
    // The far edge shrinks about its middle: corners i and i+1 make edge i.
    const int a = recipe.keystoneSide & 3, b = (a + 1) & 3;
    const QPointF mid = (q[a] + q[b]) / 2.0;
    q[a] = mid + (q[a] - mid) * (1.0 - recipe.keystone);
    q[b] = mid + (q[b] - mid) * (1.0 - recipe.keystone);
    QTransform turn;
    turn.rotate(recipe.rotation);
    return turn.map(q);
}

// Grows a four-cornered zone outwards by `by` pixels along its own axes.
QPolygonF Grow(const QPolygonF &zone, double by)
{
    const QLineF top(zone[0], zone[1]), side(zone[0], zone[3]);
    const QPointF u = QPointF(top.dx(), top.dy()) / std::max(1.0, top.length()) * by;
    const QPointF v = QPointF(side.dx(), side.dy()) / std::max(1.0, side.length()) * by;
    return QPolygonF({zone[0] - u - v, zone[1] + u - v, zone[2] + u + v, zone[3] - u + v});
}

} // namespace

double CharPx(const QPolygonF &zone, double capShare)
{
    if (zone.size() != 4)
        return 0;
    return capShare * (QLineF(zone[0], zone[3]).length() + QLineF(zone[1], zone[2]).length()) / 2.0;
}

bool PlainScan(const PageRecipe &r)
{
    return r.capture == Capture::Scan && r.rotation == 0 && r.keystone == 0 && r.aspect == 1.0;
}

// A scan as the first sets drew it: the card turned by its skew on the glass,
// the whole picture by quarter turns after the scan's faults.
QImage PlaceOnGlass(const PageRecipe &recipe, const QImage &card, QPolygonF *zone, Random &rng)
{
    const double k = recipe.dpi / 25.4;
    const QSize glass = recipe.a4 ? QSize(int(210 * k), int(297 * k))
                                : QSize(card.width() + int(16 * k), card.height() + int(16 * k));
    QImage image(glass, QImage::Format_RGB32);
    const int shade = rng.Int(225, 250);
    image.fill(QColor(shade, shade, shade));
    // Where the card lies: anywhere it fits whole, given its skew.
    const double diag = std::hypot(card.width(), card.height()) / 2.0;
    const double cx = recipe.a4 ? rng.Uniform(diag, std::max(diag, glass.width() - diag)) : glass.width() / 2.0;
    const double cy = recipe.a4 ? rng.Uniform(diag, std::max(diag, glass.height() - diag)) : glass.height() / 2.0;
    QTransform place;
    place.translate(cx, cy);
    place.rotate(recipe.skew);
    place.translate(-card.width() / 2.0, -card.height() / 2.0);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        p.setTransform(place);
        p.drawImage(0, 0, card);
    }
    *zone = place.map(*zone);
    const QRect cardArea = place.mapRect(QRectF(card.rect())).toAlignedRect().adjusted(-8, -8, 8, 8);
    Blur(image, cardArea, recipe.blur * recipe.dpi / 300.0);
    UnevenLight(image, recipe.light, rng.Uniform(0, 6.283));
    Noise(image, recipe.noise, rng);
    return image;
}

// Any other picture: the card mapped through aspect, keystone and rotation onto
// the glass, a surface (photographs) or a crop around the zone.
QImage PlaceAnyhow(const PageRecipe &recipe, const QImage &card, QPolygonF *zone, double capShare, Random &rng)
{
    const double k = recipe.dpi / 25.4;
    QPolygonF quad = CardQuad(recipe, QSizeF(card.size()));
    const QRectF box = quad.boundingRect();
    QSize canvas;
    QPointF origin; // where the box's top left goes
    if (recipe.capture == Capture::Scan) {
        canvas = recipe.a4 ? QSize(int(210 * k), int(297 * k)) : (box.size() + QSizeF(16 * k, 16 * k)).toSize();
        canvas = canvas.expandedTo(box.size().toSize() + QSize(4, 4));
        const double x = rng.Uniform(0, canvas.width() - box.width());
        origin = QPointF(x, rng.Uniform(0, canvas.height() - box.height()));
    } else if (recipe.capture == Capture::Camera) {
        // The card fills most of the frame; the frame is 4:3 either way round.
        const double fill = rng.Uniform(0.55, 0.9);
        double w = box.width() / fill, h = box.height() / fill;
        if (w >= h)
            h = std::max(h, w * 0.75), w = std::max(w, h / 0.75);
        else
            w = std::max(w, h * 0.75), h = std::max(h, w / 0.75);
        canvas = QSize(int(w), int(h));
        const double x = rng.Uniform(0, w - box.width());
        origin = QPointF(x, rng.Uniform(0, h - box.height()));
    } else {
        canvas = (box.size() + QSizeF(8 * k, 8 * k)).toSize();
        origin = QPointF(4 * k, 4 * k);
    }
    quad.translate(origin - box.topLeft());
    QTransform t;
    const QSizeF cs(card.size());
    QTransform::quadToQuad(QPolygonF({QPointF(0, 0), QPointF(cs.width(), 0), QPointF(cs.width(), cs.height()), QPointF(0, cs.height())}),
                           quad, t);
    QImage image(canvas, QImage::Format_RGB32);
    if (recipe.capture == Capture::Scan) {
        const int shade = rng.Int(225, 250);
        image.fill(QColor(shade, shade, shade));
    } else {
        Surface(image, rng);
    }
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        p.setTransform(t);
        p.drawImage(0, 0, card);
    }
    if (!zone->isEmpty())
        *zone = t.map(*zone);
    // A scanner's glass is flat grey, a camera's whole picture is out of focus alike.
    const QRect blurred = recipe.capture == Capture::Scan ? quad.boundingRect().toAlignedRect().adjusted(-8, -8, 8, 8) : image.rect();
    Blur(image, blurred, recipe.blur * recipe.dpi / 300.0);
    UnevenLight(image, recipe.light, rng.Uniform(0, 6.283));
    if (recipe.glare > 0) {
        const QRectF target = recipe.glareOnZone && !zone->isEmpty() ? zone->boundingRect() : quad.boundingRect();
        const double r = (zone->isEmpty() ? 0.1 * box.height() : 1.5 * CharPx(*zone, capShare)) * rng.Uniform(0.8, 2.5);
        GlareWithin(image, target, r, recipe.glare, rng);
    }
    if (recipe.capture == Capture::ZoneOnly) {
        const double c = CharPx(*zone, capShare), m = recipe.cropMargin * c;
        const QRect crop = Grow(*zone, m).boundingRect().toAlignedRect() & image.rect();
        image = image.copy(crop);
        zone->translate(-crop.topLeft());
    }
    Noise(image, recipe.noise, rng);
    return image;
}

void GlareWithin(QImage &image, const QRectF &target, double radius, double peak, Random &rng)
{
    // One draw after the other: the order of a call's arguments is the compiler's choice.
    const double x = rng.Uniform(target.left(), target.right());
    const double y = rng.Uniform(target.top(), target.bottom());
    const double length = radius * rng.Uniform(1, 3);
    Glare(image, QPointF(x, y), QSizeF(length, radius), rng.Uniform(0, 3.14), peak);
}

// A rectangle somebody drew around the zone on the picture.
void DrawFrame(QImage &image, const QPolygonF &zone, double charPx, Random &rng)
{
    static const QColor inks[] = {QColor(220, 30, 30), QColor(30, 80, 220), QColor(20, 160, 40), QColor(240, 140, 0)};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = inks[rng.Int(0, 3)];
    p.setPen(QPen(ink, rng.Uniform(1.5, std::max(2.0, 0.3 * charPx)), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(Grow(zone, rng.Uniform(0.3, 0.9) * charPx + 2));
}

} // namespace mrzpages
