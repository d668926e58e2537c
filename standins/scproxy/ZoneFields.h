#pragma once
// The form "InoPas_MRZ" is read from the page's machine-readable zone: the
// page as the configuration's zone turns it, upright or not at all. A page
// without a description is read the same way, as "Passport1" when its zone is
// a Russian internal passport's.

#include "EngineState.h"

#include <QImage>

namespace scproxy {

/// Whether the form's fields come from the zone.
bool ReadsFromZone(const ScanifySpecimen &s);

/// Fills the zone's fields of the form from the page as the zone sees it
/// (turned by `turn` clockwise degrees): a field with a doubtful symbol has
/// the doubt flag, one under a failing check digit the error flag. When the
/// zone does not read upright its fields come back empty with the error flag.
/// A described page fills only the fields its description lists; a page
/// without a description all of them, and when its zone is a Russian internal
/// passport's, the fields of the form "Passport1" instead. The form the zone
/// makes the page ("InoPas_MRZ" for a passport's zone, "Passport1" for an
/// internal passport's on a page without description); empty when neither
/// was read.
QByteArray ReadZoneFields(const QImage &scanned, int turn, const ScanifySpecimen &s,
                          std::map<QByteArray, engine::FieldResult> &fields);

} // namespace scproxy
