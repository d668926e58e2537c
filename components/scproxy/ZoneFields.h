#pragma once
// The forms read from a page's machine-readable zone. A described page of the
// form "InoPas_MRZ" takes the zone's fields from the page as the
// configuration's zone turns it, upright or not at all; a page read from its
// pixels (PixelPage.h) is the form its zone makes it.

#include "EngineState.h"
#include "MrzReader.h"

#include <QImage>

#include <utility>
#include <vector>

namespace scproxy {

/// Whether the form's fields come from the zone.
bool ReadsFromZone(const ScanifySpecimen &s);

/// A form's fields of the zone, by identifier.
using ZoneFieldTable = std::vector<std::pair<const char *, mrz::FieldText>>;
/// The foreign passport's form "InoPas_MRZ". The zone names no country, so
/// its "IN_CNT" (the country's name) is none of these.
ZoneFieldTable PassportZoneFields(const mrz::MrzResult &r);
/// The internal passport's form "Passport1": Cyrillic names, series and
/// number apart as its page prints them, the date and division of issue.
ZoneFieldTable InternalPassportZoneFields(const mrz::MrzResult &r);

/// The field as the zone gives it: its value, with the doubt flag for a
/// doubtful symbol (or a date the zone leaves partly unknown) and the error
/// flag under a failing check digit. Null r: the zone was not read, the field
/// is empty with the error flag.
engine::FieldResult ZoneField(const mrz::MrzResult *r, const mrz::FieldText &text);

/// Fills the zone's fields of the described form (those its description
/// lists) from the page as the zone sees it (turned by `turn` clockwise
/// degrees). When the zone does not read upright its fields come back empty
/// with the error flag, whatever the description says.
void ReadZoneFields(const QImage &scanned, int turn, const ScanifySpecimen &s,
                    std::map<QByteArray, engine::FieldResult> &fields);

} // namespace scproxy
