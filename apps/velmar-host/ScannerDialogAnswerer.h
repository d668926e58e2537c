#pragma once
// The scripted operator at the windows of the source manager and of a
// scanner while a scan runs: in a source list it picks the source whose name
// holds the text asked for (or cancels the list when none does), and it
// answers each scanner dialog as planned, waiting for a scan while its
// progress moves.

#include "ScannerPick.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

class QDialog;

class ScannerDialogAnswerer : public QObject
{
public:
    enum class Answer { Scan, Cancel };
    /// `scans`: how each scanner dialog is answered in turn (the last answer
    /// for every one after); never empty.
    ScannerDialogAnswerer(const QString &source, std::vector<Answer> scans);

    QStringList seen;
    /// The source lists' answers (the last list's, when more than one showed).
    ScannerPick pick;

private:
    void answer();
    void answerScanner(QDialog *dialog);

    std::vector<Answer> m_scans;
    size_t m_answered = 0;
    QPointer<QDialog> m_lastDialog;
    QString m_look;        ///< the scanner window's progress as last seen
    QElapsedTimer m_still; ///< since it last moved (or was answered)
    QTimer m_timer;
};
