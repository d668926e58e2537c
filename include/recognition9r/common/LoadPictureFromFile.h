#pragma once
// Loading a picture file into an image control, shared by both engines.

#include "base/r9Export.h"

#include <QString>

namespace ui { class TPictureBox; }

/// Loads a picture file into the image control; the format follows the file's
/// extension (".jpg"/".jpeg" JPEG, otherwise the Qt reader of that extension,
/// ".bmp" at least). Returns the error text naming the file, empty on success;
/// on failure the control keeps its picture.
R9_API QString LoadPictureFromFile(const QString &fileName, ui::TPictureBox *image);
