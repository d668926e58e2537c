#pragma once
// A colour page in grey, pixel for pixel as Qt's own conversion makes it,
// without running that conversion over every pixel of a 24 MB scan.

#include <QImage>

namespace twainclient {

/// page converted to Format_Grayscale8: the same picture as
/// page.convertToFormat(QImage::Format_Grayscale8).
QImage GreyPage(const QImage &page);

} // namespace twainclient
