#include "StandinConfig.h"

#include "ProfileFile.h"
#include "platform/OwnFolder.h"

#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>
#include <link.h>

namespace scproxy {

QString LibraryFolder()
{
    if (QString folder = r9base::LibraryFolderAt(reinterpret_cast<const void *>(&LibraryFolder)); !folder.isEmpty())
        return folder;
    // Linked into a host (with the specimen feed it lists the pages by): the
    // folder of the stand-in library the host has loaded, else the host's own
    // real folder, where the package loads it from. The name the host was
    // started by (through the search path or a link) says neither.
    if (void *library = dlopen("libscproxy.so", RTLD_LAZY | RTLD_NOLOAD)) {
        link_map *loaded = nullptr;
        const bool known = dlinfo(library, RTLD_DI_LINKMAP, &loaded) == 0;
        const QString folder = known ? r9base::FolderOfLoadedObject(loaded) : QString();
        dlclose(library);
        if (!folder.isEmpty())
            return folder;
    }
    if (QString program = r9base::ExecutableFolder(); !program.isEmpty())
        return program;
    return QDir::currentPath();
}

QString ConfigFilePath()
{
    return QDir(LibraryFolder()).filePath(QStringLiteral("ScProxy.Ini"));
}

QString ConfigFileValue(const char *section, const char *key)
{
    const QString path = ConfigFilePath();
    if (!QFileInfo::exists(path))
        return {};
    ProfileFile file;
    if (!file.Load(path))
        return {};
    return QString::fromLocal8Bit(file.Value(section, key));
}

QString EnvironmentOrConfigFile(const char *variable, const char *section, const char *key)
{
    const QString fromEnv = qEnvironmentVariable(variable).trimmed();
    return fromEnv.isEmpty() ? ConfigFileValue(section, key).trimmed() : fromEnv;
}

QStringList ActiveFaults()
{
    return standin::ActiveFaultSwitches("SCPROXY_FAULTS", ConfigFileValue("Faults", "Active"));
}

bool FaultActive(const char *name)
{
    return ActiveFaults().contains(QString::fromLatin1(name));
}

QString TwainDialogAnswer()
{
    return EnvironmentOrConfigFile("SCPROXY_TWAIN_DIALOG", "Dialogs", "TwainDialog").toLower();
}

QString SelectSourceAnswer()
{
    return EnvironmentOrConfigFile("SCPROXY_SELECT_SOURCE", "Dialogs", "SelectSource");
}

bool EveryPageReadFromPixels()
{
    return EnvironmentOrConfigFile("SCPROXY_READ", "Recognition", "Read").trimmed().compare(QLatin1String("pixels"), Qt::CaseInsensitive) == 0;
}

QString EngineLogFile()
{
    const QString file = EnvironmentOrConfigFile("SCPROXY_LOG", "Recognition", "Log").trimmed();
    return file.isEmpty() ? file : QDir(LibraryFolder()).absoluteFilePath(file);
}

} // namespace scproxy
