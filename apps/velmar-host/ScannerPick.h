#pragma once
// The scripted operator's choice of a scanner by a piece of its name, in
// whichever list a window offers the scanners (a source list, a drop-down of
// scanners), and what came of it for the report.

#include <QJsonObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

struct ScannerPick
{
    QString wanted;     ///< the text the source's name must hold
    QString chosen;     ///< the source picked; empty: none matched (or no list was shown)
    bool listShown = false;
    QStringList offered; ///< what a list that held no match offered

    /// Picks the first item whose text holds `wanted`; remembers what was offered otherwise.
    bool PickIn(QListWidget *list);
    bool PickIn(QComboBox *box);
    /// Why no source was chosen, in the host's words; empty when one was.
    QString Failure() const;
    /// "scanner" (the source picked) or "error" and "sources" (what there was).
    QJsonObject ToJson() const;
};
