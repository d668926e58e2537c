#pragma once
// Loads a page picture for the readers and the specimen feeders: a 600 dpi colour A4 scan is larger
// than the image allocation Qt allows by default, and a cut-off JPEG is a
// fault to report, not a page with a grey bottom to search.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace imaging {

/// Megabytes a page picture may take once decoded (a 600 dpi A4 page in
/// colour needs about 140).
inline constexpr int kPageAllocationLimitMb = 1024;

/// Raises Qt's image allocation limit to kPageAllocationLimitMb (never lowers it).
void AllowLargePages();

/// The picture in bytes; a null image with *error set when it cannot be read.
QImage LoadPage(const QByteArray &bytes, QString *error);
/// The picture in the file at path; a null image with *error set when it cannot be read.
QImage LoadPageFile(const QString &path, QString *error);

} // namespace imaging
