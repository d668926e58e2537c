#pragma once
// One row of the zone: drawn upright from the page into a strip, its marks
// found, and the fixed character pitch fitted, giving the centre of every
// character cell on the page.

#include "Components.h"
#include "Raster.h"

#include <QPointF>

#include <optional>
#include <vector>

namespace mrz {

/// An upright frame on the page: page = origin + x * u + y * v, u and v unit.
struct Frame
{
    QPointF origin;
    QPointF u;
    QPointF v;
    QPointF ToPage(double x, double y) const { return origin + x * u + y * v; }
};

struct RowMarks
{
    Frame frame;          ///< strip pixel (x, y) is page point frame.ToPage(x / scale, y / scale)
    double scale = 1;     ///< strip pixels per page pixel
    std::vector<Blob> marks; ///< marks of the row, left to right (strip pixels)
    double pitch = 0;     ///< median step between neighbouring marks (strip pixels), 0 if unknown
    /// Slant of the characters at strip x: shear + shearChange * x strip pixels
    /// along the row per pixel across it (a page seen at an angle).
    double shear = 0;
    double shearChange = 0;
};

/// Draws the row that starts at `first` and runs `length` page pixels along
/// the unit direction u, characters `height` high, and finds its marks.
RowMarks MeasureRow(const Sampler &page, QPointF first, QPointF u, double length, double height);

struct Cell
{
    QPointF centre;   ///< page pixels
    double pitch = 0; ///< page pixels per character where the cell lies
    QPointF up;       ///< page step per unit across the row along the characters' upright strokes (null: square to the row)
};

struct RowGrid
{
    std::vector<Cell> cells;
    QPointF u, v;       ///< unit axes of the characters on the page (skew included)
    double pitch = 0;   ///< page pixels per character (the row's mean; cells have their own)
    double slope = 0;   ///< of the row's centre line against the strip's axis
    double slopeError = 0; ///< standard error of the row's own slope
    int marks = 0;      ///< marks the cells were fitted to
    bool whole = false; ///< marks on the first and last cells and none beyond: the row's ends are seen, not chosen
    bool ok = false;
};

/// Fits `count` cells at about `pitch` (strip pixels) to the marks of the row;
/// the pitch may change steadily along the row (a page seen at an angle).
/// fillerOffset: how far the box centre of the filler '<' lies from its cell's
/// centre, in pitches (GlyphBank::FillerOffset). slope: the centre line's
/// slope when known from elsewhere (the rows of a zone are parallel).
/// firstAt: the first cell's centre along the strip (strip pixels) when known
/// from elsewhere (the zone's rows start together), for a row whose ends show
/// no marks or marks beyond them; otherwise the row's start as the search
/// found it, or the marks' weight, places the cells.
RowGrid FitRow(const RowMarks &row, int count, double pitch, QPointF fillerOffset,
               std::optional<double> slope = std::nullopt, std::optional<double> firstAt = std::nullopt);

} // namespace mrz
