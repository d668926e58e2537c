#include "ServerConfig.h"

#include "SettingsFile.h"
#include "platform/OwnFolder.h"

#include <QDir>

namespace passportreader {

namespace {

doubles::SettingsFile Settings()
{
    return doubles::SettingsFile(ConfigFilePath());
}

} // namespace

QString LibraryFolder()
{
    return r9base::OwnFolder(reinterpret_cast<const void *>(&LibraryFolder));
}

QString ConfigFilePath()
{
    return QDir(LibraryFolder()).filePath(QStringLiteral("passportreader.ini"));
}

QStringList ActiveFaults()
{
    return Settings().FaultSwitches("PASSPORTREADER_FAULTS", "faults", "active");
}

bool FaultActive(const char *name)
{
    return ActiveFaults().contains(QString::fromLatin1(name));
}

QString SpecimenFolder()
{
    return Settings().Folder("PASSPORTREADER_SPECIMENS", "specimens", "folder", LibraryFolder(),
                             QStringLiteral("specimens"));
}

bool EveryPageReadFromPixels()
{
    return Settings().Setting("PASSPORTREADER_READ", "recognition", "read").compare(QLatin1String("pixels"), Qt::CaseInsensitive) == 0;
}

QString EngineLogFile()
{
    const QString file = Settings().Setting("PASSPORTREADER_LOG", "recognition", "log");
    return file.isEmpty() ? file : QDir(LibraryFolder()).absoluteFilePath(file);
}

} // namespace passportreader
