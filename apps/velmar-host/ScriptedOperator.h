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
};

/// Starts working the shown window; returns at once, the steps run from the
/// event loop of the window's modal run. The window ends with OK, or with
/// Cancel when "Готово" does not become available.
void OperateRecognitionWindow(TABBYYRecognitionFM *form, const ScriptedOperatorPlan &plan);
