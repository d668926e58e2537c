#pragma once
// Loading a picture file whose format follows its extension.

#include <QImage>
#include <QString>

namespace imaging {

/// True for a file name with the extension ".jpg" or ".jpeg" (any case).
bool IsJpegFileName(const QString &fileName);

/// Loads a picture file: ".jpg" and ".jpeg" (any case) are decoded as JPEG,
/// every other extension by the Qt image reader of that format (".bmp" at
/// least). Raises std::runtime_error whose text names the file when the file
/// is missing, unreadable, of an unknown extension, or not a complete valid
/// picture of its format.
QImage LoadPictureFile(const QString &fileName);

} // namespace imaging
