#include "PackageLoader.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <link.h>

namespace {

QString loadedPath(void *handle)
{
    link_map *map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        return QString::fromLocal8Bit(map->l_name);
    return QStringLiteral("librecognition9r.so");
}

} // namespace

PackageLoader::PackageLoader()
    : m_path(QCoreApplication::applicationDirPath() + QStringLiteral("/librecognition9r.so"))
{
    // The host's folder first (the build tree), then the loader's search path
    // (an installed host finds the package in the library folder).
    m_handle = dlopen(m_path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        m_handle = dlopen("librecognition9r.so", RTLD_NOW | RTLD_LOCAL);
        if (m_handle)
            m_path = loadedPath(m_handle);
    }
    if (!m_handle)
        throw std::runtime_error(std::string("Cannot load the recognition package: ") + dlerror());
}

PackageLoader::~PackageLoader()
{
    if (m_handle)
        dlclose(m_handle);
}

void *PackageLoader::Resolve(const char *name) const
{
    dlerror();
    void *symbol = dlsym(m_handle, name);
    if (!symbol)
        throw std::runtime_error(std::string("The recognition package does not export ") + name);
    return symbol;
}
