#pragma once
// JPEG decoding for the pictures the engines and the camera snapshot deliver.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace imaging {

/// Decodes a complete JPEG held in memory into a Format_RGB32 picture: grey,
/// colour and ink (CMYK, YCCK) pictures, baseline or progressive.
/// Truncated, corrupt or non-JPEG data, or a picture too large to hold,
/// raises std::runtime_error with the decoder's reason; a partly decoded
/// picture is never returned.
QImage DecodeJpeg(const QByteArray &data);

/// Reads and decodes a JPEG file; the error text names the file.
QImage LoadJpegFile(const QString &fileName);

} // namespace imaging
