#include "ScriptedOperator.h"
#include "PrivateRecords.h"

#include "AbbyyRequest.h"
#include "ScannerPick.h"
#include "abbyy/engABBYY9r_FM.h"
#include "ui/TActionUpdater.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <functional>

namespace {

constexpr int PollMs = 20;

/// Runs then() once ready() holds (checked from the event loop, after the
/// window's own action update), or otherwise() when it has not held for the
/// operator's patience or the window is gone.
void WhenReady(QPointer<TABBYYRecognitionFM> form, std::function<bool()> ready, std::function<void()> then,
               std::function<void()> otherwise, int waited = 0)
{
    if (!form || !form->isVisible())
        return;
    form->ActionListUpdate(); // what the window's next idle tick would enable
    if (ready()) {
        then();
        return;
    }
    if (waited >= ScriptedPatienceMs()) {
        otherwise();
        return;
    }
    QTimer::singleShot(PollMs, form, [=] { WhenReady(form, ready, then, otherwise, waited + PollMs); });
}

void Tick(QCheckBox *box)
{
    if (!box->isChecked())
        box->click(); // a click, so the window stores the choice as it does for a person
}

/// Milliseconds from the environment variable, else the fallback.
int patienceFrom(const char *variable, int fallbackMs)
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue(variable, &ok);
    return ok && ms > 0 ? ms : fallbackMs;
}

} // namespace

int ScriptedPatienceMs()
{
    static const int patience = patienceFrom("VELMAR_HOST_PATIENCE_MS", 5000);
    return patience;
}

int ScannerPatienceMs()
{
    static const int patience = patienceFrom("VELMAR_HOST_SCANNER_PATIENCE_MS", 60000);
    return patience;
}

MessageBoxAnswerer::MessageBoxAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
    m_timer.start(PollMs);
}

QStringList MessageBoxAnswerer::Take()
{
    answer();
    return std::exchange(m_texts, {});
}

void MessageBoxAnswerer::answer()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->isVisible())
            continue;
        m_texts << box->text();
        if (QAbstractButton *b = box->defaultButton())
            b->click();
        else if (QAbstractButton *e = box->escapeButton())
            e->click();
        else
            box->done(QMessageBox::Ok);
    }
}

void OperateRecognitionWindow(TABBYYRecognitionFM *f, const ScriptedOperatorPlan &plan)
{
    QPointer<TABBYYRecognitionFM> form(f);
    const bool edit = f->pgcRecognize->currentWidget() == f->tsEdit;
    Tick(edit ? f->cxPhotoToAccoutData_2 : f->cxPhotoToAccoutData);
    Tick(edit ? f->cxDocPictureToAccoutData_2 : f->cxDocPictureToAccoutData);

    const auto cancel = [form] {
        if (form)
            form->bCancel->click();
    };
    if (plan.scanner) {
        // The scanner is chosen on the options page, as at the desk.
        QWidget *page = f->pgcScanRecognize->currentWidget();
        f->pgcScanRecognize->setCurrentWidget(f->tsCommonOptions);
        const bool picked = plan.scanner->PickIn(f->cbScanListForTest);
        f->pgcScanRecognize->setCurrentWidget(page);
        if (!picked) {
            cancel();
            return;
        }
    }
    const auto done = [form, cancel] {
        // "Готово" becomes available once surname, first name and number are filled in.
        WhenReady(
            form, [form] { return form->bSave->isEnabled(); },
            [form, cancel] {
                form->bSave->click();
                // A refused date check keeps the window open: give up on it.
                QTimer::singleShot(PollMs, form, [form, cancel] {
                    if (form && form->isVisible())
                        cancel();
                });
            },
            cancel);
    };
    WhenReady(
        form, [form] { return form->acRecognize->isEnabled(); },
        [form, plan, done] {
            form->acRecognize->trigger(); // "Распознать"
            // The picture shows the window as the operator then sees it:
            // its actions as the recognition left them.
            if (auto *actions = form->findChild<ui::TActionUpdater *>())
                actions->Update();
            if (!plan.screenshotFile.isEmpty()) {
                // The window shows the person's values: a record's file like the others.
                MakeRecordFolder(QFileInfo(plan.screenshotFile).path());
                WritePrivately(plan.screenshotFile, [&] { return form->grab().save(plan.screenshotFile, "PNG"); });
            }
            if (!plan.pageScreenshotFolder.isEmpty())
                WriteFormPageScreenshots(form, plan.pageScreenshotFolder, plan.pageScreenshotPrefix);
            done();
        },
        cancel);
}
