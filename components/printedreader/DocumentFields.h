#pragma once
// The fields of each document from its labels' values: which lines of a
// value are which field (the Cyrillic and the Latin line of a name, the
// licence's groups of two fields under one number), and the internal
// passport's series and number, which no label introduces.

#include "FieldReading.h"

#include <map>

namespace printed {

/// Every field of the kind that could be found, read from the engine's picture.
std::map<Field, PrintedText> ReadDocumentFields(tesseract::TessBaseAPI &api, DocumentKind kind,
                                                const std::vector<OcrLine> &lines, const std::vector<LabelHit> &hits,
                                                const QSize &pictureSize);

/// The words of the lines that print the internal passport's series and
/// number ("45 03 123456"), wherever they stand; empty when none do.
std::vector<ValueLine> FindSeriesNumber(const std::vector<OcrLine> &lines);

} // namespace printed
