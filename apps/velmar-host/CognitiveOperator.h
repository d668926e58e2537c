#pragma once
// The operator of a run without a display, at the Scanify recognition
// window: ticks the picture boxes, presses "Распознать", on a repeat offer
// "Распознать повторно", looks at the result (a screenshot) and presses
// "Готово", or "Отмена" when "Готово" is not available. Meanwhile it answers
// the engine's own dialogs (the source list and the scanner dialog) as a
// person at the desk would: the highlighted source, "Scan".

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class TCognitiveRecognitionFM;
struct ScannerPick;

/// Answers every visible dialog of the engine while it lives.
class EngineDialogAnswerer : public QObject
{
public:
    EngineDialogAnswerer();
    /// The engine's source list is answered with the source whose name holds
    /// pick->wanted (cancelled when none does) instead of the highlighted one;
    /// pick must outlive the answerer. Null: the highlighted one.
    void PickSource(ScannerPick *pick) { m_pick = pick; }
    /// What was answered since the last call ("ScanifySourceDialog: <source>", ...).
    QStringList Take();

private:
    void answer();
    QTimer m_timer;
    QStringList m_answers;
    ScannerPick *m_pick = nullptr;
};

struct CognitiveOperatorPlan
{
    QString screenshotFile; ///< the window after recognition; empty: none
    QString pageScreenshotFolder; ///< every page of the window; empty: none
    QString pageScreenshotPrefix;
    /// The engine's source list is asked for at every run (the scanner is
    /// chosen there, see EngineDialogAnswerer::PickSource).
    bool chooseScanner = false;
};

/// What the operator did at one window.
struct CognitiveOperatorLog
{
    bool repeated = false; ///< "Распознать повторно" was pressed
};

/// Starts working the shown window; returns at once, the steps run from the
/// event loop of the window's modal run. log must outlive the window.
void OperateCognitiveWindow(TCognitiveRecognitionFM *form, const CognitiveOperatorPlan &plan,
                            CognitiveOperatorLog *log);
