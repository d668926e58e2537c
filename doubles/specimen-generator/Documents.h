#pragma once
#include "SpecimenBuilder.h"

namespace specimens {

/// Draws every specimen into folder. Returns false with *error on failure.
bool DrawAllSpecimens(const Fonts &fonts, const QString &folder, QString *error);

} // namespace specimens
