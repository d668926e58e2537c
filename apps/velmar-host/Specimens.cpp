#include "Specimens.h"

#include "Description.h"

#include <QJsonArray>
#include <QJsonObject>
#include <stdexcept>

std::vector<SpecimenDocument> ReadSpecimenFolder(const QString &folder, QStringList *problems)
{
    std::vector<SpecimenDocument> out;
    for (const QString &path : doubles::DescriptionFiles(folder)) {
        QJsonObject root;
        try {
            root = doubles::ReadDescriptionObject("Specimen description", path);
        } catch (const std::runtime_error &) {
            // Told below as any file that names no document type: the
            // operator needs no more than which file was passed over.
        }
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
