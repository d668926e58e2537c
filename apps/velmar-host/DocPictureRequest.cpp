#include "DocPictureRequest.h"
#include "PrivateRecords.h"

#include "PackageLoader.h"
#include "ScriptedOperator.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QJsonArray>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
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
    ScannerDialogAnswerer answerer(run.source, run.scans);
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
    if (const QString error = answerer.pick.Failure(); !error.isEmpty()) {
        // Nothing to scan with: said plainly, with what there was to choose from.
        o["error"] = error;
        o["sources"] = QJsonArray::fromStringList(answerer.pick.offered);
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
