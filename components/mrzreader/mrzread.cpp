// mrzread FILE...: reads the machine-readable zone of each picture and prints
// one JSON object per file (a JSON array when given several files).
// Exit status: 0 when every file had a zone whose check digits all hold,
// 1 when some file had none or a failing check, 2 on bad usage.

#include "MrzJson.h"
#include "MrzReader.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty() || files.first() == QLatin1String("--help") || files.first() == QLatin1String("-h")) {
        std::fprintf(stderr, "usage: mrzread FILE...\n"
                             "Prints the machine-readable zone of each picture as JSON.\n");
        return files.isEmpty() ? 2 : 0;
    }
    QJsonArray all;
    bool allValid = true;
    for (const QString &file : files) {
        QJsonObject o = mrz::ToJson(mrz::ReadMrzFile(file));
        o.insert(QStringLiteral("file"), file);
        allValid = allValid && o.value(QStringLiteral("valid")).toBool();
        all.append(o);
    }
    const QJsonDocument doc = files.size() == 1 ? QJsonDocument(all.first().toObject()) : QJsonDocument(all);
    std::fputs(doc.toJson(QJsonDocument::Indented).constData(), stdout);
    return allValid ? 0 : 1;
}
