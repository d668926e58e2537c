#include "SpecimenFeed.h"

#include "scproxy/StandinConfig.h"

#include <QDir>
#include <QRegularExpression>

namespace scproxy {

QString SpecimenFolder()
{
    const QString fromEnv = qEnvironmentVariable("SCPROXY_SPECIMENS");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString folder = ConfigFileValue("Specimens", "Folder").trimmed();
    if (!folder.isEmpty())
        return QDir(LibraryFolder()).absoluteFilePath(folder);
    return QDir(LibraryFolder()).filePath(QStringLiteral("specimens/scanify"));
}

QStringList FeedPatterns()
{
    return EnvironmentOrConfigFile("SCPROXY_FEED", "Specimens", "Feed")
        .split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
}

} // namespace scproxy
