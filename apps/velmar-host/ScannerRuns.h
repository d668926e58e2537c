#pragma once
// Recognition from a scanner the operator names (--scanner): the scripted
// operator picks the source whose name holds the text in the engine's own
// scanner choice, answers the scanner's window if it shows, recognises one
// page and keeps what was read as the person's record. The entry says which
// scanner it was; with no source matching, the error and the sources there were.

#include "PersonRecord.h"

#include <QJsonObject>
#include <QString>
#include <optional>

class PackageLoader;

struct ScannerRunRequest
{
    QString scanner;      ///< the text the source's name holds
    QString documentType; ///< passport-reader window: the catalogue identifier to choose
    std::optional<PersonRecord> current;
    QString folder;       ///< where the record goes
    QString formPages;    ///< where screenshots of every page of the window go; none when empty
};

/// The passport-reader window (the engine must be started): the scanner is
/// picked on its options page, the document type below the picture.
QJsonObject RunAbbyyFromScanner(const PackageLoader &package, const ScannerRunRequest &request);
/// The Scanify window (the engine must be started): the scanner is picked in
/// the engine's source list, asked for at the run.
QJsonObject RunScanifyFromScanner(const PackageLoader &package, const ScannerRunRequest &request);
