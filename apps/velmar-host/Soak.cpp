#include "Soak.h"

#include "ProcessFigures.h"
#include "ScriptedOperator.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QJsonArray>
#include <vector>

QJsonObject RunSoak(const QString &dataFolder, int recognitions, int cycle,
                    const std::function<SoakWindow(int n)> &recognize)
{
    const QString temp = QDir::tempPath();
    QJsonArray points;
    const auto measure = [&](int done) {
        // Windows closed by now are deleted by the event loop; let it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QJsonObject point = MeasureProcess(temp, dataFolder).ToJson();
        point["recognitions"] = done;
        points.append(point);
    };

    MessageBoxAnswerer answerer;
    int delivered = 0;
    int messages = 0;
    int unexpected = 0;
    QJsonObject texts;
    std::vector<QString> firstOutcome(size_t(std::max(cycle, 1)));
    measure(0);
    for (int n = 1; n <= recognitions && cycle > 0; ++n) {
        const SoakWindow window = recognize(n);
        const QStringList seen = answerer.Take();
        delivered += window.delivered;
        messages += int(seen.size());
        for (const QString &text : seen)
            texts[text] = texts[text].toInt() + 1;
        const QString outcome = QString::number(window.modalResult) + QLatin1Char('\n') + seen.join(QLatin1Char('\n'));
        QString &first = firstOutcome[size_t(n - 1) % firstOutcome.size()];
        if (n <= cycle)
            first = outcome;
        else
            unexpected += outcome != first;
        if (n == 100 || n == recognitions)
            measure(n);
    }
    return QJsonObject{{"recognitions", recognitions},
                       {"delivered", delivered},
                       {"messages", messages},
                       {"messageTexts", texts},
                       {"unexpected", unexpected},
                       {"points", points}};
}
