#pragma once
// Finds a document's printed labels among the lines Tesseract read, and the
// value each label points to: on its own line to the right, or the lines
// below it in its column, up to the next label.

#include "Labels.h"
#include "OcrText.h"

#include <vector>

namespace printed {

struct LabelHit
{
    LabelRole role;
    int line;               ///< index into the lines
    int firstWord, lastWord; ///< words of the line the label covers
    QRect box;
    double distance;        ///< how far the reading was from the label
    /// A bilingual label printed over two lines: the line of its second half
    /// (its English words, found as a label of their own too), else -1.
    int secondLine = -1;
    int secondLast = -1; ///< the last word of the second half
};

/// The labels of this kind found in the lines, one per role, in reading order.
std::vector<LabelHit> FindLabels(const std::vector<OcrLine> &lines, DocumentKind kind);

/// One printed line of a value: the words of an OCR line that belong to it.
struct ValueLine
{
    std::vector<OcrWord> words;
    QRect box;

    QString Text() const;
};

/// The lines of the value a label points to; empty when none is there.
/// maxLines bounds a value that runs into text below it that is no label.
std::vector<ValueLine> ValueOf(const LabelHit &hit, const std::vector<LabelHit> &hits,
                               const std::vector<OcrLine> &lines, DocumentKind kind, int maxLines);

/// Where a value below the label would be printed, as one line of a single
/// word without text (to be read from its box): the label's column, at most
/// `width` label heights wide, one value line below the label.
std::vector<ValueLine> PlaceBelow(const LabelHit &hit, const std::vector<LabelHit> &hits, int width,
                                  const QSize &pictureSize);

/// Where a value beside the label would be printed, in the same way: right
/// of the label up to the next label, at most `width` label heights.
std::vector<ValueLine> PlaceBeside(const LabelHit &hit, const std::vector<LabelHit> &hits, int width,
                                   const QSize &pictureSize);

} // namespace printed
