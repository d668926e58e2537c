#include "CognitiveOperator.h"
#include "PrivateRecords.h"

#include "RecognitionWindowRun.h"
#include "ScannerPick.h"

#include "scanify/engCognitive9r_FM.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int PollMs = 20;

void Tick(QCheckBox *box)
{
    if (!box->isChecked())
        box->click(); // a click, so the window stores the choice as it does for a person
}

} // namespace

EngineDialogAnswerer::EngineDialogAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
    m_timer.start(PollMs);
}

QStringList EngineDialogAnswerer::Take()
{
    return std::exchange(m_answers, {});
}

void EngineDialogAnswerer::answer()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || !dialog->isVisible())
            continue;
        if (dialog->objectName() == QLatin1String("ScanifySourceDialog")) {
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbSources"));
            if (m_pick && !m_pick->PickIn(list)) {
                m_answers << dialog->objectName() + QStringLiteral(": cancelled");
                dialog->reject();
                continue;
            }
            m_answers << dialog->objectName() + QStringLiteral(": ")
                             + (list && list->currentItem() ? list->currentItem()->text() : QString());
            dialog->accept();
        } else if (dialog->objectName() == QLatin1String("ScanifyTwainDialog")) {
            m_answers << dialog->objectName() + QStringLiteral(": Scan");
            dialog->accept();
        }
    }
}

void OperateCognitiveWindow(TCognitiveRecognitionFM *f, const CognitiveOperatorPlan &plan, CognitiveOperatorLog *log)
{
    QPointer<TCognitiveRecognitionFM> form(f);
    const bool edit = f->pgcRecognize->currentWidget() == f->tsEdit;
    Tick(edit ? f->cxPhotoToAccoutData_2 : f->cxPhotoToAccoutData);
    Tick(edit ? f->cxDocPictureToAccoutData_2 : f->cxDocPictureToAccoutData);
    if (plan.chooseScanner)
        Tick(edit ? f->cxSelectScanner : f->cxSelectScanner_Add);

    // Each press runs the whole recognition before it returns.
    (edit ? f->bRecognize_2 : f->bRecognize)->click(); // "Распознать"
    if (form && form->pnlRepeatRecognize->isVisible()) {
        log->repeated = true;
        form->bRepeatRecognize->click(); // "Распознать повторно"
    }
    if (!form || !form->isVisible())
        return;
    // The window's own enabling, run now rather than at its next idle tick,
    // so the pictures show "Готово" as the operator sees it.
    QMetaObject::invokeMethod(form, "ActionListUpdate");
    if (!plan.screenshotFile.isEmpty()) {
        // The window shows the person's values: a record's file like the others.
        MakeRecordFolder(QFileInfo(plan.screenshotFile).path());
        WritePrivately(plan.screenshotFile, [&] { return form->grab().save(plan.screenshotFile, "PNG"); });
    }
    if (!plan.pageScreenshotFolder.isEmpty())
        WriteFormPageScreenshots(form, plan.pageScreenshotFolder, plan.pageScreenshotPrefix);
    if (!form->acSave->isEnabled()) {
        form->bCancel->click();
        return;
    }
    form->bSave->click(); // "Готово"
    if (form->isVisible())
        form->bCancel->click(); // the dates are in the wrong order: give up
}
