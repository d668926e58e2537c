#pragma once
// The scripted operator (a run without a display, or --scripted): answers
// every message box the package shows (keeping its text for the report) and
// works the recognition window through its own actions and buttons, as a
// person would: tick the picture boxes, press "Распознать", look at the
// result (a screenshot), then press "Готово".

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class TABBYYRecognitionFM;
struct ScannerPick;

/// How long the scripted operator waits for a window to be ready for its
/// next step before it gives up on it (cancels): 5 s, or the milliseconds of
/// VELMAR_HOST_PATIENCE_MS. A window that can never get ready (a failed
/// engine, no scanner) costs this much, so the fault tests shorten it; the
/// readiness itself never depends on it, as every wait also runs the
/// window's own update of its actions.
int ScriptedPatienceMs();

/// How long the scripted operator waits for a scan whose progress does not
/// move (a lamp warming up, a slow page) before cancelling it: 60 s, or the
/// milliseconds of VELMAR_HOST_SCANNER_PATIENCE_MS.
int ScannerPatienceMs();

/// Answers every visible message box while it lives.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer();
    /// Texts of the boxes answered since the last call.
    QStringList Take();

private:
    void answer();
    QTimer m_timer;
    QStringList m_texts;
};

struct ScriptedOperatorPlan
{
    QString screenshotFile;     ///< the window after recognition; empty: none
    QString pageScreenshotFolder; ///< every page of the window; empty: none
    QString pageScreenshotPrefix;
    /// The scanner to pick on the options page before recognising (its
    /// `wanted`), and what came of it; null: the window's own. With no
    /// scanner matching, the window is cancelled.
    ScannerPick *scanner = nullptr;
};

/// Starts working the shown window; returns at once, the steps run from the
/// event loop of the window's modal run. The window ends with OK, or with
/// Cancel when "Готово" does not become available.
void OperateRecognitionWindow(TABBYYRecognitionFM *form, const ScriptedOperatorPlan &plan);
