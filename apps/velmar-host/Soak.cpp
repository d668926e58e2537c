#include "Soak.h"

#include "AbbyyRequest.h"
#include "PackageLoader.h"
#include "ProcessFigures.h"
#include "ScriptedOperator.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QJsonArray>

QJsonObject RunSoak(const PackageLoader &package, const std::vector<SpecimenDocument> &documents, int recognitions)
{
    const QString temp = QDir::tempPath();
    const QString data = package.Function<QString (*)()>("GetUserDataFolder")();
    QJsonArray points;
    const auto measure = [&](int done) {
        // Windows closed by now are deleted by the event loop; let it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QJsonObject point = MeasureProcess(temp, data).ToJson();
        point["recognitions"] = done;
        points.append(point);
    };

    MessageBoxAnswerer answerer;
    int delivered = 0;
    int messages = 0;
    measure(0);
    for (int n = 1; n <= recognitions && !documents.empty(); ++n) {
        const SpecimenDocument &document = documents[size_t(n - 1) % documents.size()];
        AbbyyRequest request;
        request.documentType = document.documentType;
        request.operate = [](TABBYYRecognitionFM *form) { OperateRecognitionWindow(form, ScriptedOperatorPlan{}); };
        const AbbyyResult result = RunAbbyyRequest(package, request);
        delivered += result.modalResult == 1 && result.record;
        messages += int(answerer.Take().size());
        if (n == 100 || n == recognitions)
            measure(n);
    }
    return QJsonObject{{"recognitions", recognitions},
                       {"delivered", delivered},
                       {"messages", messages},
                       {"points", points}};
}
