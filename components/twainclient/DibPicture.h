#pragma once
// A native transfer's page (a packed DIB: its header, its colour table and
// its rows) as a picture.

#include "TwainClient.h"

#include <QImage>

#include <cstddef>

namespace twainclient {

/// The DIB of size bytes; null when it is no DIB Qt can read.
TWAINCLIENT_EXPORT QImage DibPicture(const void *dib, std::size_t size);

/// The page in the picture mode asked for, for a source that scanned in
/// another (one that has no such mode, or whose window changed it).
QImage InMode(const QImage &page, PictureMode mode);

} // namespace twainclient
