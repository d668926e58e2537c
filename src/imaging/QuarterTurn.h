#pragma once
// A whole page turned by quarter turns, fast: the recognition window turns
// each scanned page upright before the operator sees it, and Qt's own turn
// of an A4 scan takes longer than reading its zone.

#include <QImage>

namespace imaging {

/// picture turned clockwise by `clockwise` degrees, a multiple of 90 (any
/// other angle: Qt's own turn): the pixels and format that
/// picture.transformed(QTransform().rotate(clockwise)) gives, with the
/// picture's colours and its resolution turned with it (across and down
/// change places on a quarter turn). Null when there is no memory for it.
QImage QuarterTurned(const QImage &picture, int clockwise);

} // namespace imaging
