#pragma once
// A reading as JSON: the lines, the format, every field with its untrusted
// symbols, the check digits and where the zone lies on the page.

#include "MrzReader.h"

#include <QJsonObject>

namespace mrz {

QJsonObject ToJson(const MrzResult &r);

} // namespace mrz
