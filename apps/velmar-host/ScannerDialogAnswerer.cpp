#include "ScannerDialogAnswerer.h"

#include "ScriptedOperator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int PollMs = 20;

/// What of the scanner's window shows a scan under way: its progress bars,
/// its texts (page count, status) and which of its buttons take input. A
/// scan whose look has not changed for a while has stopped moving.
QString progressLook(const QDialog *dialog)
{
    QStringList look;
    for (const QProgressBar *bar : dialog->findChildren<QProgressBar *>())
        if (bar->isVisible())
            look << QStringLiteral("%1/%2-%3").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        if (label->isVisible())
            look << label->text();
    for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        look << (button->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
    return look.join(QLatin1Char('|'));
}

bool showsProgress(const QDialog *dialog)
{
    const QList<QProgressBar *> bars = dialog->findChildren<QProgressBar *>();
    return std::any_of(bars.begin(), bars.end(), [](const QProgressBar *bar) { return bar->isVisible(); });
}

// A dialog idle after its answer: about a second, never longer than the
// operator's patience.
int leftOpenMs()
{
    return std::min(1000, ScriptedPatienceMs());
}

} // namespace

ScannerDialogAnswerer::ScannerDialogAnswerer(const QString &source, std::vector<Answer> scans)
    : m_scans(std::move(scans))
{
    pick.wanted = source;
    connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
    m_timer.start(PollMs);
}

void ScannerDialogAnswerer::answer()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || !dialog->isVisible())
            continue;
        if (dialog->objectName() == QLatin1String("SelectSourceDialog")) {
            seen << QStringLiteral("source list");
            if (pick.PickIn(dialog->findChild<QListWidget *>(QStringLiteral("lbSources")))) {
                seen << pick.chosen;
                dialog->accept();
            } else {
                dialog->reject();
            }
        } else if (dialog->objectName() == QLatin1String("SpecimenScanDialog")
                   || dialog->objectName() == QLatin1String("SaneScanDialog")) {
            answerScanner(dialog);
        }
    }
}

/// Each scan's dialog gets the answer planned for it. A scan under way is
/// waited for as long as its progress moves; a dialog still up after its
/// answer with nothing moving (the scanner failed and waits, or has stalled)
/// is closed with its Cancel, as a person gives up.
void ScannerDialogAnswerer::answerScanner(QDialog *dialog)
{
    const bool again = dialog == m_lastDialog;
    const QString look = progressLook(dialog);
    if (again && look != m_look) {
        m_look = look;
        m_still.restart();
        return;
    }
    const bool scanning = showsProgress(dialog);
    if (again && m_still.elapsed() < (scanning ? ScannerPatienceMs() : leftOpenMs()))
        return;
    const char *button = "bCancel";
    if (!again) {
        seen << QStringLiteral("scanner dialog");
        const size_t n = std::min(m_answered, m_scans.size() - 1);
        ++m_answered;
        if (m_scans[n] == Answer::Scan)
            button = "bScan";
    } else if (scanning) {
        seen << QStringLiteral("scanner stalled: cancelled");
    } else {
        seen << QStringLiteral("scanner dialog left open: cancelled");
    }
    m_lastDialog = dialog;
    if (auto *b = dialog->findChild<QPushButton *>(QLatin1String(button)))
        b->click();
    m_look = progressLook(dialog);
    m_still.restart();
}
