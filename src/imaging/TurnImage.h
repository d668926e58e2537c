#pragma once
// Quarter turns of a scanned picture. A form keeps the picture twice: a
// hidden source image with the picture as scanned and a visible work image
// with the turned copy. A turn never works on the copy: it renders the work
// picture afresh from the untouched source at the new absolute angle, so any
// number of turns loses nothing and four turns give the scan back. The
// pixels are made here; the pair of controls that holds them and the angle
// is turned by common/PictureTurn.h.

#include <QImage>

namespace imaging {

enum class TurnDirection {
    Left,  ///< counter-clockwise
    Right, ///< clockwise
};

/// The rotation index (0 as scanned, 1 = 90 degrees clockwise, 2 = 180,
/// 3 = 270) one quarter turn in `direction` from `index` (any integer, taken
/// modulo 4).
int TurnedIndex(int index, TurnDirection direction);

/// The work picture for rotation index `index` (0..3), drawn afresh from
/// `scan`: W x H, or H x W for odd indices, in the format of `shown` (the
/// picture shown so far; the scan's format when it is null), its pixels one
/// transformed draw of the scan and its resolution turned with it. Throws
/// std::bad_alloc when there is no memory for it.
QImage TurnedPicture(const QImage &scan, int index, const QImage &shown);

} // namespace imaging
