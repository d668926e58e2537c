#pragma once
// Where the document lies on the page and how it is made readable: turned
// upright and level, cut out, and scaled so that its text has the size
// Tesseract reads best.

#include "PrintedFields.h"

#include <QImage>
#include <QTransform>

namespace mrz {
struct MrzResult;
}

namespace printed {

/// The picture Tesseract reads (8-bit grey, upright, level) and the way back
/// from its points to the page's.
struct PreparedPage
{
    QImage grey;
    QTransform toPage;
};

/// Height in pixels Tesseract's lines should have in the prepared picture
/// (the middle of small labels and large values).
inline constexpr double kLineHeight = 26.0;
/// The longest side a page is read at before its text's size is known: larger
/// scans are reduced first, so that a huge picture costs no more than a page.
inline constexpr int kLargestSide = 2400;

/// The page reduced to at most kLargestSide, in grey, nothing else changed.
PreparedPage Reduced(const QImage &page);

/// The part of the page the document of this kind occupies, found from its
/// zone: the zone's turn and skew make it upright and level, the zone's
/// width gives the print's scale, and the document's extent around its zone
/// is known per kind. An empty picture when the zone gives no place.
PreparedPage PlaceByZone(const QImage &page, DocumentKind kind, const mrz::MrzResult &zone);

/// The prepared picture turned by `radians` about its centre and scaled by
/// `scale`, with the way back to the page kept.
PreparedPage Adjusted(const PreparedPage &prepared, double radians, double scale);

/// The scale that gives lines of this median height the height Tesseract
/// reads best; 1 when the height tells nothing.
double ScaleFor(double medianLineHeight);

} // namespace printed
