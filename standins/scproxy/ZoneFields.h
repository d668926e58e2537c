#pragma once
// The form "InoPas_MRZ" is read from the page's machine-readable zone: the
// page as the configuration's zone turns it, upright or not at all.

#include "EngineState.h"

#include <QImage>

namespace scproxy {

/// Whether the form's fields come from the zone.
bool ReadsFromZone(const ScanifySpecimen &s);

/// Fills the zone's fields of the form from the page as the zone sees it
/// (turned by `turn` clockwise degrees): a field with a doubtful symbol has
/// the doubt flag, one under a failing check digit the error flag. Fields the
/// zone does not hold, and all fields when the zone does not read upright,
/// keep what recognition of the turned page gave them.
void ReadZoneFields(const QImage &scanned, int turn, const ScanifySpecimen &s,
                    std::map<QByteArray, engine::FieldResult> &fields);

} // namespace scproxy
