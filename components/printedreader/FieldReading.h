#pragma once
// A field's value taken from the lines its label points to: read again from
// its box with the field's own alphabet, put into the field's form and
// checked against its pattern.

#include "LabelFinder.h"
#include "PrintedReader.h"

namespace tesseract {
class TessBaseAPI;
}

namespace printed {

/// Confidence below which a character makes its field doubtful.
inline constexpr float kDoubtfulConfidence = 0.55f;

/// Reads the field from these printed lines (each one line of the value):
/// each line again from its box with the field's alphabet; the reading that
/// matches the field's pattern is kept, the first one otherwise. Doubtful
/// when nothing matches the pattern or a character was read with low
/// confidence. The engine must hold the picture the lines were read from.
PrintedText ReadField(tesseract::TessBaseAPI &api, Field field, DocumentKind kind, const std::vector<ValueLine> &lines,
                      const QSize &pictureSize);

/// The words of a line from `first` to `last` (inclusive) as a line of their own.
ValueLine Part(const ValueLine &line, int first, int last);

} // namespace printed
