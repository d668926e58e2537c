#pragma once
// Which pages are read from their pixels. A page from a real scanner is
// never matched to a specimen description: it is read, as the engine reads
// any page it knows nothing about. The specimen feeders' pages keep their
// descriptions unless the configuration says every page is read.

#include <QByteArray>

namespace passportreader {

/// Marks the picture file with these bytes, delivered by a scanner that is
/// not a specimen feeder, as a page to read from its pixels.
void MarkReadFromPixels(const QByteArray &fileBytes);

/// Whether the picture file with these bytes is read from its pixels: a page
/// a real scanner delivered, or any page when the configuration says so.
bool ReadFromPixels(const QByteArray &fileBytes);

} // namespace passportreader
