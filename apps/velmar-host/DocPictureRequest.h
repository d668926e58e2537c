#pragma once
// The host's document-picture request: the window that scans a paper document
// over TWAIN without recognition. The host shows it modally and, after OK,
// takes the picture of imgWorkTest and stores it with the person's data.

#include "ScannerDialogAnswerer.h"

#include <QJsonObject>
#include <QString>
#include <vector>

class PackageLoader;

struct DocPictureRun
{
    using Answer = ScannerDialogAnswerer::Answer;
    /// Ticks the source list, picks the source whose name holds this text.
    QString source = QStringLiteral("Specimen");
    /// One scan per answer: how the scanner's own dialog is answered each time.
    std::vector<Answer> scans{Answer::Scan};
    /// Quarter turns to the right after the first scan.
    int turns = 1;
    /// Where document.png goes after OK; empty: not stored.
    QString folder;
};

/// Scripted: works the window as an operator would (list on, pick the source,
/// scan, turn, save; "Отмена" when no picture came). Returns what the form
/// handed back; "error" (also on stderr) with "sources" when no source in
/// the list matched. A scan is waited for while its progress moves.
QJsonObject RunDocPictureScripted(const PackageLoader &package, const DocPictureRun &run);

/// With a person at the display: the window as it is; the picture goes to folder after OK.
QJsonObject RunDocPictureByHand(const PackageLoader &package, const QString &folder);
