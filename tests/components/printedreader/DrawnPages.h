#pragma once
// Small pages of the three documents drawn for the reader's tests: labels and
// values in a given typeface, labels above their values or left of them,
// optionally turned a little, with the values drawn (the truth) returned.

#include "PrintedFields.h"

#include <QImage>
#include <QString>

#include <map>

namespace printedtest {

struct DrawnPage
{
    QImage picture;
    std::map<printed::Field, QString> truth;
};

struct Drawing
{
    printed::DocumentKind kind;
    QString family;          ///< the typeface of labels and values
    bool labelsLeft = false; ///< the internal passport's labels left of their values instead of above
    double turn = 0;         ///< degrees clockwise
    int person = 0;          ///< which of the persons drawn
    bool numberAlongEdge = false; ///< the internal passport's series and number turned along its right edge
    bool zone = false;            ///< the foreign passport's zone drawn at its foot (any turn then turns the page whole)
};

DrawnPage Draw(const Drawing &d);

} // namespace printedtest
