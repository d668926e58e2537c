#include "ServerConfig.h"

#include "SettingsFile.h"
#include "platform/OwnFolder.h"

#include <QDir>

namespace scproxy {

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
    return QDir(LibraryFolder()).filePath(QStringLiteral("ScProxy.Ini"));
}

QStringList ActiveFaults()
{
    return Settings().FaultSwitches("SCPROXY_FAULTS", "Faults", "Active");
}

bool FaultActive(const char *name)
{
    return ActiveFaults().contains(QString::fromLatin1(name));
}

QString TwainDialogAnswer()
{
    return Settings().Setting("SCPROXY_TWAIN_DIALOG", "Dialogs", "TwainDialog").toLower();
}

QString SelectSourceAnswer()
{
    return Settings().Setting("SCPROXY_SELECT_SOURCE", "Dialogs", "SelectSource");
}

bool EveryPageReadFromPixels()
{
    return Settings().Setting("SCPROXY_READ", "Recognition", "Read").compare(QLatin1String("pixels"), Qt::CaseInsensitive) == 0;
}

QString EngineLogFile()
{
    const QString file = Settings().Setting("SCPROXY_LOG", "Recognition", "Log");
    return file.isEmpty() ? file : QDir(LibraryFolder()).absoluteFilePath(file);
}

} // namespace scproxy
