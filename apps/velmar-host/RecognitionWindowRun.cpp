#include "RecognitionWindowRun.h"

#include <QApplication>
#include <QPointer>

QJsonObject ResultEntry(const RecognitionResult &r, const QString &folder)
{
    QJsonObject o{{"modalResult", r.modalResult},
                  {"gl_PhotoToAccountData", r.photoToAccountData},
                  {"gl_DocumentToAccountData", r.documentToAccountData}};
    if (r.record) {
        r.record->Store(folder);
        o["record"] = r.record->ToJson();
        o["recordFolder"] = folder;
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
