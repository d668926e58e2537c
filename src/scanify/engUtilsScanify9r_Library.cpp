// Loading and binding the engine library.
#include "scanify/engUtilsScanify9r.h"

#include "common/PackageFiles.h"
#include "platform/OwnFolder.h"
#include "base/ResString.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "scanify/scapi.h"

#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>
#include <stdexcept>

namespace scanify {

namespace {

/// The engine library from the host executable's folder when it lies there,
/// else by its bare name through the loader's search path. Local binding: the
/// engine's symbols must not join the process's global scope, where they
/// would share names with the package's variables.
void *openLibrary(const QString &hostFolder)
{
    const QString besideHost = QDir(hostFolder).filePath(QLatin1String(LibraryName));
    if (!hostFolder.isEmpty() && QFileInfo(besideHost).isFile())
        return dlopen(QFile::encodeName(besideHost).constData(), RTLD_NOW | RTLD_LOCAL);
    return dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
}

} // namespace

HostFolderFunction HostExecutableFolder = &r9base::ExecutableFolder;

} // namespace scanify

void LoadCognitiveDll()
{
    const QString hostFolder = scanify::HostExecutableFolder();
    if (!PackageFileExists(hostFolder, QStringLiteral("ScProxy.Ini")))
        throw std::runtime_error(LoadResString(&_S_ScProxy_INI_NOT_FOUND).toStdString());

    CreateScApiIniFile();

    if (CognitiveLibInstance)
        return;

    dlerror();
    CognitiveLibInstance = scanify::openLibrary(hostFolder);
    if (!CognitiveLibInstance) {
        const char *reason = dlerror();
        const QString systemText = reason ? QString::fromLocal8Bit(reason) : QStringLiteral("unknown error");
        throw std::runtime_error(
            QStringLiteral("%1: %2").arg(systemText, QLatin1String(scanify::LibraryName)).toStdString());
    }

    std::size_t count = 0;
    const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
    for (std::size_t i = 0; i < count; ++i)
        entries[i].bind(dlsym(CognitiveLibInstance, entries[i].name));
}

void FreeCognitiveDll()
{
    if (!CognitiveLibInstance)
        return;
    dlclose(CognitiveLibInstance);
    CognitiveLibInstance = nullptr;
}
