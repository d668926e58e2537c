#pragma once
// A person's record (the values read, the document's picture, the photo) is
// for the user alone: record folders 0700, their files 0600, whatever the
// umask the host was started with.

#include <QString>
#include <functional>

/// Creates folder and the missing folders above it, each new one for the
/// user alone, and makes folder itself so (also when it existed). Returns
/// whether it exists as a folder.
bool MakeRecordFolder(const QString &folder);

/// Runs write (which writes file) so that a new file is private from its
/// first byte, then makes file private also when it existed before. Returns
/// what write returned.
bool WritePrivately(const QString &file, const std::function<bool()> &write);
