#pragma once
// Dark marks on a grey raster: a threshold against the local mean (integral
// image) and 8-connected components with their boxes.

#include "Raster.h"

#include <cstdint>
#include <vector>

namespace mrz {

/// 1 where a pixel is darker than `ratio` times the mean of the window x window
/// square around it and at least `minContrast` grey levels below that mean.
std::vector<std::uint8_t> DarkMask(const GrayImage &image, int window, float ratio = 0.85f, int minContrast = 16);

/// Pixels of thin dark strokes: darker by at least minContrast grey levels
/// than the image closed over a square of 2 radius + 1 pixels, which fills
/// strokes narrower than that with what lies around them. A band of colour
/// wider than the square stays out however dark it is.
std::vector<std::uint8_t> StrokeMask(const GrayImage &image, int radius, int minContrast);

struct Blob
{
    int x0, y0, x1, y1; ///< box; x1 and y1 exclusive
    int area;           ///< pixel count
    int Width() const { return x1 - x0; }
    int Height() const { return y1 - y0; }
    float Cx() const { return 0.5f * float(x0 + x1); }
    float Cy() const { return 0.5f * float(y0 + y1); }
};

/// The 8-connected components of the mask (width x height, row-major).
std::vector<Blob> Components(const std::vector<std::uint8_t> &mask, int width, int height);

/// A run of dark pixels along a mask row: pixels x0 .. x1 - 1 of row y.
struct Run
{
    int y, x0, x1;
};

/// Components with the runs that make them up, so that their extent can be
/// measured along any direction (a turned character's box is not its size).
struct Labelled
{
    std::vector<Blob> blobs;
    std::vector<Run> runs;   ///< grouped by blob
    std::vector<int> first;  ///< runs of blob i: runs[first[i]] .. runs[first[i + 1] - 1]
};

Labelled LabelComponents(const std::vector<std::uint8_t> &mask, int width, int height);

} // namespace mrz
