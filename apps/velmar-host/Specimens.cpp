#include "Specimens.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::vector<SpecimenDocument> ReadSpecimenFolder(const QString &folder, QStringList *problems)
{
    std::vector<SpecimenDocument> out;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        const QString path = dir.absoluteFilePath(name);
        QFile file(path);
        QJsonParseError error{};
        const QJsonDocument doc = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &error)
                                                                 : QJsonDocument();
        const QJsonObject root = doc.object();
        SpecimenDocument s;
        s.descriptionPath = path;
        s.documentType = root.value(QLatin1String("documentType")).toString();
        if (s.documentType.isEmpty()) {
            if (problems)
                *problems << QStringLiteral("%1: not a document description").arg(path);
            continue;
        }
        for (const QJsonValue &f : root.value(QLatin1String("fields")).toArray()) {
            const QJsonObject o = f.toObject();
            s.fields.insert(o.value(QLatin1String("name")).toString(), o.value(QLatin1String("value")).toString());
        }
        out.push_back(std::move(s));
    }
    return out;
}
