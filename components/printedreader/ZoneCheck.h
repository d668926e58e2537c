#pragma once
// The printed fields compared with the zone's: the zone carries check digits
// and stands where the two differ; the field is then doubtful.

#include "PrintedReader.h"

#include <map>

namespace printed {

/// The zone's value of a field as the page prints it ("45 03", "МУЖ.",
/// "01.02.1990"), and whether the zone is sure of it.
struct ZoneValue
{
    QString value;
    bool trusted = false;
};
std::map<Field, ZoneValue> ZoneValues(DocumentKind kind, const mrz::MrzResult &zone);

/// Marks and replaces the printed fields that differ from the zone's
/// (fromZone and doubtful); adds the zone's value of a field the print did
/// not give (fromZone, not doubtful: nothing differs from it).
void CrossCheck(DocumentKind kind, const mrz::MrzResult &zone, std::map<Field, PrintedText> *fields);

} // namespace printed
