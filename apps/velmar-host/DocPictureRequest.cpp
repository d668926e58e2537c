#include "DocPictureRequest.h"
#include "PrivateRecords.h"

#include "PackageLoader.h"
#include "ScriptedOperator.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int PollMs = 20;

const char *formatName(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32: return "RGB32";
    case QImage::Format_ARGB32: return "ARGB32";
    case QImage::Format_ARGB32_Premultiplied: return "ARGB32_Premultiplied";
    case QImage::Format_BGR888: return "BGR888";
    case QImage::Format_RGB888: return "RGB888";
    default: return "other";
    }
}

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

/// Answers the windows of the source manager and of the scanner while a scan runs.
class ScannerDialogAnswerer : public QObject
{
public:
    ScannerDialogAnswerer(const DocPictureRun &run) : m_run(run)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start(PollMs);
    }
    QStringList seen;
    /// The sources of a list that held none named as the run asked (empty
    /// when every list had it).
    QStringList unmatchedList;
    bool listShown = false;
    bool sourceChosen = false;

private:
    void answer()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(w);
            if (!dialog || !dialog->isVisible())
                continue;
            if (dialog->objectName() == QLatin1String("SelectSourceDialog")) {
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
                const auto found = list ? list->findItems(m_run.source, Qt::MatchContains) : QList<QListWidgetItem *>();
                seen << QStringLiteral("source list");
                listShown = true;
                if (found.isEmpty()) {
                    unmatchedList.clear();
                    for (int i = 0; list && i < list->count(); ++i)
                        unmatchedList << list->item(i)->text();
                    dialog->reject();
                } else {
                    list->setCurrentItem(found.first());
                    seen << found.first()->text();
                    sourceChosen = true;
                    dialog->accept();
                }
            } else if (dialog->objectName() == QLatin1String("SpecimenScanDialog")
                       || dialog->objectName() == QLatin1String("SaneScanDialog")) {
                answerScanner(dialog);
            }
        }
    }

    /// Each scan's dialog gets the answer planned for it. A scan under way
    /// is waited for as long as its progress moves; a dialog still up after
    /// its answer with nothing moving (the scanner failed and waits, or has
    /// stalled) is closed with its Cancel, as a person gives up.
    void answerScanner(QDialog *dialog)
    {
        const bool again = dialog == m_lastDialog;
        const QString look = progressLook(dialog);
        if (again && look != m_look) {
            m_look = look;
            m_still.restart();
            return;
        }
        const bool scanning = showsProgress(dialog);
        if (again && m_still.elapsed() < (scanning ? ScannerPatienceMs() : LeftOpenMs()))
            return;
        const char *button = "bCancel";
        if (!again) {
            seen << QStringLiteral("scanner dialog");
            const size_t n = std::min(m_answered, m_run.scans.size() - 1);
            ++m_answered;
            if (m_run.scans[n] == DocPictureRun::Answer::Scan)
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

    // A dialog idle after its answer: about a second, never longer than the
    // operator's patience.
    static int LeftOpenMs() { return std::min(1000, ScriptedPatienceMs()); }
    QPointer<QDialog> m_lastDialog;
    QString m_look;         ///< the scanner window's progress as last seen
    QElapsedTimer m_still;  ///< since it last moved (or was answered)
    DocPictureRun m_run;
    size_t m_answered = 0;
    QTimer m_timer;
};

/// Clicks the button once the window's action update has enabled it.
void WhenEnabled(QPointer<TDocFromScannerFM> form, QPushButton *button, int waited = 0)
{
    if (!form || !form->isVisible())
        return;
    if (button->isEnabled() || waited >= ScriptedPatienceMs()) {
        (button->isEnabled() ? button : form->bCancel)->click();
        return;
    }
    QTimer::singleShot(PollMs, form, [=] { WhenEnabled(form, button, waited + PollMs); });
}

TDocFromScannerFM *createForm(const PackageLoader &package)
{
    return package.Function<TDocFromScannerFM *(*)(QWidget *)>("TDocFromScannerFM_Create")(nullptr);
}

void freeForm(const PackageLoader &package, TDocFromScannerFM *form)
{
    delete form;
    *package.Variable<TDocFromScannerFM *>("DocFromScannerFM") = nullptr;
}

QJsonObject result(TDocFromScannerFM *form, int modalResult, const QString &folder)
{
    QJsonObject o{{"modalResult", modalResult}};
    const QImage picture = form->imgWorkTest->Picture();
    if (picture.isNull()) {
        o["picture"] = QJsonValue::Null;
        return o;
    }
    o["picture"] = QJsonObject{{"width", picture.width()},
                               {"height", picture.height()},
                               {"depth", picture.depth()},
                               {"format", formatName(picture.format())},
                               {"rotationIndex", form->imgTempTest->Tag()}};
    if (modalResult == 1 && !folder.isEmpty()) {
        MakeRecordFolder(folder);
        const QString file = QDir(folder).filePath(QStringLiteral("document.png"));
        if (WritePrivately(file, [&] { return picture.save(file); }))
            o["file"] = file;
        else
            o["storeError"] = QStringLiteral("cannot write %1").arg(file);
    }
    return o;
}

} // namespace

QJsonObject RunDocPictureScripted(const PackageLoader &package, const DocPictureRun &run)
{
    TDocFromScannerFM *form = createForm(package);
    ScannerDialogAnswerer answerer(run);
    QPointer<TDocFromScannerFM> guard(form);
    QTimer::singleShot(0, form, [guard, run] {
        if (!guard)
            return;
        if (!guard->cxShowScanerList->isChecked())
            guard->cxShowScanerList->click();
        for (size_t scan = 0; scan < run.scans.size() && guard; ++scan) {
            guard->bScanTest->click(); // returns when the scanner delivered or was closed
            for (int i = 0; scan == 0 && guard && i < run.turns; ++i)
                guard->sbTurnRight->click();
        }
        if (!guard)
            return;
        // "Сохранить" follows the picture on the window's own update; with no
        // picture it never comes and the operator cancels.
        if (guard->imgWorkTest->HasGraphic())
            WhenEnabled(guard, guard->bSave);
        else
            guard->bCancel->click();
    });
    const int modal = form->exec();
    QJsonObject o = result(form, modal, run.folder);
    o["windows"] = QJsonArray::fromStringList(answerer.seen);
    if (!answerer.sourceChosen) {
        // Nothing to scan with: said plainly, with what there was to choose from.
        const QString error =
            answerer.listShown
                ? QStringLiteral("no scanner source matches \"%1\"; the sources are: %2")
                      .arg(run.source, answerer.unmatchedList.isEmpty() ? QStringLiteral("none")
                                                                        : answerer.unmatchedList.join(QStringLiteral(", ")))
                : QStringLiteral("no scanner source matches \"%1\": the source manager showed no list of sources")
                      .arg(run.source);
        o["error"] = error;
        o["sources"] = QJsonArray::fromStringList(answerer.unmatchedList);
        std::fprintf(stderr, "velmar-host: %s\n", qPrintable(error));
    }
    freeForm(package, form);
    return o;
}

QJsonObject RunDocPictureByHand(const PackageLoader &package, const QString &folder)
{
    TDocFromScannerFM *form = createForm(package);
    const int modal = form->exec();
    QJsonObject o = result(form, modal, folder);
    freeForm(package, form);
    return o;
}
