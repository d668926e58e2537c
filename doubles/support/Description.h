#pragma once
// What the descriptions of specimen pages share: a JSON file holding one
// object, and zones in it. A description found wrong throws
// std::runtime_error "<kind> <path>: <what>", which the catalogue that reads
// a folder of them lists as that file's problem and goes on.

#include <QJsonObject>
#include <QJsonValue>
#include <QRect>
#include <QString>
#include <QStringList>

namespace doubles {

/// The descriptions of folder (its files "*.json"), as paths, in file-name
/// order: the order a catalogue lists and a feeder hands out its pages in.
QStringList DescriptionFiles(const QString &folder);

/// The zone v describes: an object with the numbers "x", "y", "width" and
/// "height" (pixels of the page picture); an empty rectangle when v is absent
/// or null. When v is no such object, or its right or bottom edge lies past
/// the coordinate range (a rectangle built from it would hold garbage),
/// *fault says so ("must be …", "reaches past …", to follow the zone's name)
/// and the result is empty.
QRect ReadJsonZone(const QJsonValue &v, QString *fault);

/// Throws the complaint about the description `path` of the given kind
/// ("Specimen description", "Scanify description").
[[noreturn]] void ThrowBadDescription(const char *kind, const QString &path, const QString &what);

/// The one JSON object the description file `path` holds.
QJsonObject ReadDescriptionObject(const char *kind, const QString &path);

/// The zone v describes (ReadJsonZone); `what` names it in the complaint.
QRect ReadDescriptionZone(const char *kind, const QString &path, const QJsonValue &v, const QString &what);

} // namespace doubles
