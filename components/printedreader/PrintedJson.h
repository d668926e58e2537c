#pragma once
// A reading of printed fields as JSON, for the printedread tool and for
// whoever reviews what the reader saw.

#include "PrintedReader.h"

#include <QJsonObject>

namespace printed {

/// {"kind", "documentFound", "error"?, "fields": {name: {"value", "lines",
/// "doubtful", "fromZone", "box": [x, y, w, h]}}}
QJsonObject ToJson(const PrintedReading &reading);

} // namespace printed
