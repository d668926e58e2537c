#pragma once
// The documents the scripted operator feeds: descriptions in the
// passport-reader engine's documented specimen format (one JSON file per
// document, naming its picture, its document type and the true value of each
// field), listed and read as the engine lists and reads them
// (doubles/support), in file-name order, which is the order its specimen
// scanner feeds them.

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

struct SpecimenDocument
{
    QString descriptionPath;
    QString documentType;
    QMap<QString, QString> fields; ///< engine field name -> true value
};

/// Reads every "*.json" description of folder. Descriptions that cannot be
/// read are skipped and named in problems.
std::vector<SpecimenDocument> ReadSpecimenFolder(const QString &folder, QStringList *problems);
