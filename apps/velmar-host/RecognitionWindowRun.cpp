#include "RecognitionWindowRun.h"
#include "PrivateRecords.h"

#include "common/TRecognitionWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTabWidget>

QJsonObject ResultEntry(const RecognitionResult &r, const QString &folder)
{
    QJsonObject o{{"modalResult", r.modalResult},
                  {"gl_PhotoToAccountData", r.photoToAccountData},
                  {"gl_DocumentToAccountData", r.documentToAccountData}};
    if (r.record) {
        o["record"] = r.record->ToJson();
        // A record that cannot be stored is this person's failure alone: the
        // report keeps it, and the others' records, for the operator.
        try {
            r.record->Store(folder);
            o["recordFolder"] = folder;
        } catch (const std::exception &e) {
            o["storeError"] = QString::fromUtf8(e.what());
        }
    }
    return o;
}

QTimer *StartOperatorInWindowLoop(QDialog *window, std::function<void()> operate)
{
    QPointer<QDialog> guard(window);
    auto *timer = new QTimer(window);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, window, [guard, timer, operate, started = false]() mutable {
        if (!guard)
            return;
        if (!guard->isVisible()) {
            // Ended before its loop ran, or inside a box it showed as it
            // opened: ending it again from its own loop lets exec return.
            guard->done(guard->result());
            return;
        }
        if (started || QApplication::activeModalWidget() != guard)
            return;
        started = true;
        operate();
    });
    timer->start();
    return timer;
}

QStringList WriteFormPageScreenshots(TRecognitionWindow *f, const QString &folder, const QString &prefix)
{
    QStringList written;
    // The pages show the person's data: the user's alone.
    if (!QFileInfo(folder).isDir() && !MakeRecordFolder(folder))
        return written;
    QWidget *page = f->pgcScanRecognize->currentWidget();
    QWidget *subPage = f->pgcRecognize->currentWidget();
    const auto shoot = [&](QWidget *main, QWidget *sub, const QString &name) {
        f->pgcScanRecognize->setCurrentWidget(main);
        if (sub)
            f->pgcRecognize->setCurrentWidget(sub);
        const QString path = QDir(folder).filePath(prefix + name + QStringLiteral(".png"));
        QCoreApplication::sendPostedEvents(); // the layouts of the page just selected
        const QPixmap shot = f->grab();
        if (WritePrivately(path, [&] { return shot.save(path, "PNG"); }))
            written << path;
    };
    // As opened, at the smallest size the window allows, and maximised on a
    // full HD screen.
    const QSize opened = f->size();
    const std::pair<QSize, QString> sizes[] = {
        {opened, QString()}, {f->minimumSize(), QStringLiteral("-min")}, {QSize(1920, 1040), QStringLiteral("-max")}};
    for (const auto &[size, suffix] : sizes) {
        f->resize(size);
        shoot(f->tsScanAndRecognize, f->tsAdd, QStringLiteral("tsScanAndRecognize-tsAdd") + suffix);
        shoot(f->tsScanAndRecognize, f->tsEdit, QStringLiteral("tsScanAndRecognize-tsEdit") + suffix);
        shoot(f->tsCommonOptions, nullptr, QStringLiteral("tsCommonOptions") + suffix);
    }
    f->resize(opened);
    f->pgcScanRecognize->setCurrentWidget(page);
    f->pgcRecognize->setCurrentWidget(subPage);
    return written;
}
