#include "common/PackageFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withSlash(const QString &folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString PackageFilePath(const QString &folder, const QString &name)
{
    const QString base = withSlash(folder);
    const QString exact = base + name;
    if (QFileInfo::exists(exact) || name.isEmpty())
        return exact;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return base + entry;
    }
    return exact;
}

bool PackageFileExists(const QString &folder, const QString &name)
{
    return QFileInfo(PackageFilePath(folder, name)).isFile();
}
