#pragma once
// The pages the specimen scanner delivers: the specimen pictures in name
// order (page i of an enabling is picture i, round the list), scaled from
// their 300 dpi to the negotiated resolution and turned into a native DIB of
// the negotiated pixel type: BW 1 bit, GRAY 8 bits, PALETTE 8 bits with the
// picture's own colour table, RGB 24 bits. Without pictures a plain page
// with its number is drawn.

#include "TwainTypes.h"

#include <QImage>
#include <QString>

namespace specimen {

inline constexpr double PictureDpi = 300.0;

/// The picture of page `index` at the resolution, before conversion.
QImage PagePicture(const QString &folder, int index, double dpi);
/// The picture as a packed bottom-up DIB in a new global memory block; null
/// when the memory cannot be had.
TW_HANDLE MakeDib(const QImage &picture, int pixelType, double dpi);

} // namespace specimen
