#pragma once
#include "SpecimenBuilder.h"

namespace specimens {

/// Writes the Scanify descriptions of the specimens into folder (a sub-folder
/// of the first engine's specimens, whose pictures they share) and draws the
/// pages only the Scanify engine reads. Returns false with *error on failure.
bool DrawScanifySpecimens(const Fonts &fonts, const QString &folder, QString *error);

} // namespace specimens
