#pragma once
#include <QImage>
#include <QString>

namespace passportreader {

/// Writes image as a baseline JPEG file. Returns an empty string on success,
/// otherwise what went wrong.
QString WriteJpegFile(const QImage &image, const QString &path, int quality = 90);

} // namespace passportreader
