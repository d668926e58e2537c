#pragma once
// Where the drawn card goes: on a scanner's glass, on a surface before a
// camera at a slant, or cut down to the zone alone; with the faults of each
// way of taking the picture, and the zone's corners carried along.

#include "PageGenerator.h"

#include <QImage>
#include <QPolygonF>

namespace mrzpages {

/// Mean height of the zone's capitals in the picture: capShare of the zone's
/// height (its corners from the first row's cap top to the last baseline).
double CharPx(const QPolygonF &zone, double capShare);
/// A scan as the first sets drew it (PlaceOnGlass takes it).
bool PlainScan(const PageRecipe &recipe);
/// The card turned by its skew on the glass, blurred, unevenly lit and noisy.
QImage PlaceOnGlass(const PageRecipe &recipe, const QImage &card, QPolygonF *zone, Random &rng);
/// Any other picture: the card mapped through aspect, keystone and rotation
/// onto the glass, a surface (photographs) or a crop around the zone.
QImage PlaceAnyhow(const PageRecipe &recipe, const QImage &card, QPolygonF *zone, double capShare, Random &rng);
/// A glare patch of about the given radius, its centre somewhere in target.
void GlareWithin(QImage &image, const QRectF &target, double radius, double peak, Random &rng);
/// A rectangle somebody drew around the zone on the picture.
void DrawFrame(QImage &image, const QPolygonF &zone, double charPx, Random &rng);

} // namespace mrzpages
