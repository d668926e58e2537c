#include "DocPictureRequest.h"

#include "PackageLoader.h"
#include "ScriptedOperator.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QJsonArray>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

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
                if (found.isEmpty()) {
                    dialog->reject();
                } else {
                    list->setCurrentItem(found.first());
                    seen << found.first()->text();
                    dialog->accept();
                }
            } else if (dialog->objectName() == QLatin1String("SpecimenScanDialog")
                       || dialog->objectName() == QLatin1String("SaneScanDialog")) {
                answerScanner(dialog);
            }
        }
    }

    /// Each scan's dialog gets the answer planned for it. A dialog still up
    /// a while after its answer (the scanner failed and waits) is closed with
    /// its Cancel, as a person gives up.
    void answerScanner(QDialog *dialog)
    {
        const bool again = dialog == m_lastDialog;
        if (again && ++m_waited < GiveUpPolls())
            return;
        const char *button = "bCancel";
        if (!again) {
            seen << QStringLiteral("scanner dialog");
            const size_t n = std::min(m_answered, m_run.scans.size() - 1);
            ++m_answered;
            if (m_run.scans[n] == DocPictureRun::Answer::Scan)
                button = "bScan";
        } else {
            seen << QStringLiteral("scanner dialog left open: cancelled");
        }
        m_lastDialog = dialog;
        m_waited = 0;
        if (auto *b = dialog->findChild<QPushButton *>(QLatin1String(button)))
            b->click();
    }

    // About a second, never longer than the operator's patience.
    static int GiveUpPolls() { return std::min(50, ScriptedPatienceMs() / PollMs); }
    QPointer<QDialog> m_lastDialog;
    int m_waited = 0;
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
        QDir().mkpath(folder);
        const QString file = QDir(folder).filePath(QStringLiteral("document.png"));
        if (picture.save(file))
            o["file"] = file;
        else
            o["error"] = QStringLiteral("cannot write %1").arg(file);
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
