#include "PackageLoader.h"

#include <QCoreApplication>
#include <dlfcn.h>

PackageLoader::PackageLoader()
    : m_path(QCoreApplication::applicationDirPath() + QStringLiteral("/librecognition9r.so"))
{
    m_handle = dlopen(m_path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
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
