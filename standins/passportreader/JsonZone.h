#pragma once
// A zone of the stand-ins' document descriptions: an object with the numbers
// "x", "y", "width" and "height" (pixels of the page picture).

#include <QJsonValue>
#include <QRect>
#include <QString>

namespace standin {

/// The zone v describes; an empty rectangle when v is absent or null. When v
/// is no such object, or its right or bottom edge lies past the coordinate
/// range (a rectangle built from it would hold garbage), *fault says so
/// ("must be …", "reaches past …", to follow the zone's name) and the result
/// is empty.
QRect ReadJsonZone(const QJsonValue &v, QString *fault);

} // namespace standin
