#pragma once
// JPEG encoding of camera frames with TurboJPEG.

#include <QByteArray>
#include <QImage>

namespace hostkit {

/// The picture as a baseline JPEG; an empty array when it cannot be encoded.
QByteArray EncodeJpeg(const QImage &image, int quality = 90);

} // namespace hostkit
