#pragma once
// Which pages came from a real scanner rather than the specimen feeders:
// those are read from their pixels, never matched with a description. A
// page is known by its file's bytes, whatever name the caller gives the
// file afterwards (the package moves a scanned ".tmp" to ".bmp").

#include <QByteArray>
#include <QString>

namespace passportreader {

/// Remembers the bytes of a page file delivered from a scanner of the
/// source manager.
void RememberScannerPage(const QByteArray &fileBytes);

/// The file's bytes are a page a scanner of the source manager delivered.
bool PageFromScanner(const QByteArray &fileBytes);
/// The same for the file at path (false when it cannot be read).
bool PageFromScanner(const QString &path);

} // namespace passportreader
