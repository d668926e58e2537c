#pragma once
// A long run of the scripted host: many recognitions in one process, cycling
// through the documents, with the process measured at the start, after the
// first 100 recognitions and at the end. Nothing is stored.

#include "Specimens.h"

#include <QJsonObject>
#include <vector>

class PackageLoader;

/// Runs `recognitions` recognition windows (the engine must be started) and
/// returns {"recognitions", "delivered", "messages", "points": [figures...]}.
QJsonObject RunSoak(const PackageLoader &package, const std::vector<SpecimenDocument> &documents, int recognitions);
