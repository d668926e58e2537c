#pragma once
// The package names its own files (configuration files, the engine's
// settings file) as the engine's documentation spells them, and not always in
// the same case ("ScApi_270.Ini" when written, "ScApi_270.ini" when handed to
// the engine). File names on Linux depend on case, so every such name goes
// through this one rule.

#include <QString>

/// The path of the file `name` inside `folder` (with or without a trailing
/// "/"): the file of exactly that name when it exists, else the one whose name
/// differs only in case (the first in byte order when there are several),
/// else folder + name, the path to create it under.
QString PackageFilePath(const QString &folder, const QString &name);

/// Whether PackageFilePath names an existing regular file.
bool PackageFileExists(const QString &folder, const QString &name);
