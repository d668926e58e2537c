#pragma once
// The internal passport's series and number printed along the page's outer
// edge, turned a quarter: found where the upright page shows none.

#include "PrintedReader.h"

#include <QImage>

#include <map>

namespace tesseract {
class TessBaseAPI;
}

namespace printed {

/// Reads the strips along the picture's right and left edges turned upright
/// both ways; the series and the number when one of them prints them.
/// Leaves the engine holding a strip: call it after every other reading.
std::map<Field, PrintedText> ReadEdgeSeriesNumber(tesseract::TessBaseAPI &api, const QImage &grey);

} // namespace printed
