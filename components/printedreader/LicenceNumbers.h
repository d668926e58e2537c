#pragma once
// The licence's field numbers ("1.", "4a)") are small and stand apart from
// their values: the engine drops some and misreads others. They are looked
// for again left of each value line and in the short words that resemble one.

#include "OcrText.h"

#include <QImage>

namespace printed {

/// Reads the numbers again where they should stand and puts those found into
/// the lines as words of their own ("4b)"), in the form LicenceNumber reads.
void RestoreLicenceNumbers(tesseract::TessBaseAPI &api, std::vector<OcrLine> *lines, const QImage &picture);

} // namespace printed
