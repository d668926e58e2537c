#pragma once
// Finds the machine-readable zone on a page: long, straight, evenly filled rows
// of character-sized marks, two or three of them parallel and evenly spaced.
// Works on a reduced copy of the page, with rows at any angle.

#include <QImage>
#include <QPointF>

#include <vector>

namespace mrz {

struct ZoneLine
{
    QPointF start;  ///< one end of the row of characters (page pixels)
    QPointF end;    ///< the other end; which end is the first character is not known yet
    double height;  ///< height of the characters across the row (page pixels)
    int marks;      ///< marks found along the row
};

struct ZoneCandidate
{
    std::vector<ZoneLine> lines; ///< two or three rows, in the order across the zone
    double score = 0;
};

/// Candidate zones of the page (ReadableFormat), best first. A mark is a pixel
/// darker than inkRatio times its surroundings: lower ratios leave out light
/// background print that would join the characters, higher ones keep faint
/// characters of coarse scans; minContrast: grey levels at least below the
/// surroundings (lower for faded print). The surroundings are a square a
/// `surroundings`-th of the page's long side wide: a narrower one follows a
/// band of colour printed behind the characters, which a wide one, reaching
/// onto white paper, turns dark whole.
/// strokeRadius > 0: marks are thin strokes instead (StrokeMask), which
/// finds ink nearly as dark as a band of colour printed behind it; inkRatio
/// and surroundings are then unused.
std::vector<ZoneCandidate> LocateZones(const QImage &page, int maxCandidates = 4, float inkRatio = 0.85f,
                                       int minContrast = 16, int surroundings = 20, int strokeRadius = 0);

/// The reduction factor the search uses for a page of this size.
int SearchFactor(QSize page);

} // namespace mrz
