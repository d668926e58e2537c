#include "StandinConfig.h"

#include "ProfileFile.h"
#include "platform/OwnFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <dlfcn.h>
#include <link.h>

namespace scproxy {

namespace {

QStringList SplitList(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
}

/// A value of the settings file next to the library, empty when it or the key is missing.
QString FileValue(const char *section, const char *key)
{
    const QString path = ConfigFilePath();
    if (!QFileInfo::exists(path))
        return {};
    ProfileFile file;
    if (!file.Load(path))
        return {};
    return QString::fromLocal8Bit(file.Value(section, key));
}

QString EnvironmentOrFile(const char *variable, const char *section, const char *key)
{
    const QString fromEnv = qEnvironmentVariable(variable).trimmed();
    return fromEnv.isEmpty() ? FileValue(section, key).trimmed() : fromEnv;
}

} // namespace

QString LibraryFolder()
{
    if (QString folder = r9base::LibraryFolderAt(reinterpret_cast<const void *>(&LibraryFolder)); !folder.isEmpty())
        return folder;
    // Linked into a host, which lists the feeder's pages with this code: the
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

QStringList ActiveFaults()
{
    return standin::ActiveFaultSwitches("SCPROXY_FAULTS", FileValue("Faults", "Active"));
}

bool FaultActive(const char *name)
{
    return ActiveFaults().contains(QString::fromLatin1(name));
}

QString SpecimenFolder()
{
    const QString fromEnv = qEnvironmentVariable("SCPROXY_SPECIMENS");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString folder = FileValue("Specimens", "Folder").trimmed();
    if (!folder.isEmpty())
        return QDir(LibraryFolder()).absoluteFilePath(folder);
    return QDir(LibraryFolder()).filePath(QStringLiteral("specimens/scanify"));
}

QStringList FeedPatterns()
{
    return SplitList(EnvironmentOrFile("SCPROXY_FEED", "Specimens", "Feed"));
}

QString TwainDialogAnswer()
{
    return EnvironmentOrFile("SCPROXY_TWAIN_DIALOG", "Dialogs", "TwainDialog").toLower();
}

QString SelectSourceAnswer()
{
    return EnvironmentOrFile("SCPROXY_SELECT_SOURCE", "Dialogs", "SelectSource");
}

bool EveryPageReadFromPixels()
{
    return EnvironmentOrFile("SCPROXY_READ", "Recognition", "Read").trimmed().compare(QLatin1String("pixels"), Qt::CaseInsensitive) == 0;
}

QString EngineLogFile()
{
    const QString file = EnvironmentOrFile("SCPROXY_LOG", "Recognition", "Log").trimmed();
    return file.isEmpty() ? file : QDir(LibraryFolder()).absoluteFilePath(file);
}

} // namespace scproxy
