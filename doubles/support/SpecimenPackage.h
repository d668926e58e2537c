#pragma once
// The specimen documents the engines' feeders take come with a package of
// their own, which a desk with real scanners does not install: a feeder is
// offered only when its folder is there, and one found empty names the
// package that fills it.

#include <QString>

namespace doubles {

/// The package that installs the specimen documents.
inline constexpr const char *SpecimenPackage = "recognition9r-doubles";

/// Whether the specimen folder is installed (it may still hold no document).
bool SpecimensInstalled(const QString &folder);

/// What the operator is told when the feeder has no document to take.
QString EmptyFeederText(const QString &feeder, const QString &folder);

} // namespace doubles
