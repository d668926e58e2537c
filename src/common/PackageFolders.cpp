#include "common/PackageFolders.h"

#include "host/Sdlogfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

bool IsPackageFolderName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^dss[0-9A-F]{4}$"));
    return pattern.match(name).hasMatch();
}

int RemoveOldPackageFolders(const QString &dataFolder, int keepDays, const QDateTime &now)
{
    if (keepDays <= 0 || dataFolder.isEmpty())
        return 0;
    const QDateTime limit = now.addDays(-keepDays);
    int removed = 0;
    const QDir data(dataFolder);
    // NoSymLinks: a link of a package folder's name may point anywhere; what
    // it points to is not the engine's to lose.
    for (const QFileInfo &entry : data.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (!IsPackageFolderName(entry.fileName()) || entry.lastModified() >= limit)
            continue;
        if (QDir(entry.absoluteFilePath()).removeRecursively())
            ++removed;
        else
            WriteLogFileMessage(QStringLiteral("Папку пакета распознавания \"%1\" не удалось удалить.")
                                    .arg(entry.fileName()));
    }
    if (removed > 0)
        WriteLogFileMessage(
            QStringLiteral("Удалено папок пакетов распознавания старше %1 дн.: %2").arg(keepDays).arg(removed));
    return removed;
}
