#pragma once
// Where a loaded library finds the files that lie beside it (its settings,
// translations, data sources, specimens), and where the program lies. Header-only: the package and the
// components beside it both use it, and neither may link the other.
//
// The caller names an address of its own module (a function of its own,
// best one with internal linkage): an inline function's own address could be
// bound to another module's copy, and the answer would name that module's
// folder.

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <dlfcn.h>
#include <link.h>

namespace r9base {

/// Folder of the file mapped at `address`: the library holding it, or the
/// program, named as it was started. Empty when the loader knows no file there.
inline QString FolderOfFileAt(const void *address)
{
    Dl_info info{};
    if (dladdr(address, &info) && info.dli_fname && *info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return {};
}

/// Folder of the loaded object `map` describes; empty for the program itself,
/// whose name is only what it was started by (through the search path or a
/// link), which tells nothing of where its file lies.
inline QString FolderOfLoadedObject(const link_map *map)
{
    if (!map || !map->l_name || !*map->l_name)
        return {};
    return QFileInfo(QString::fromLocal8Bit(map->l_name)).absolutePath();
}

/// Folder of the shared library mapped at `address`; empty when the address
/// lies in the program (its code linked in rather than loaded) or nowhere.
inline QString LibraryFolderAt(const void *address)
{
    Dl_info info{};
    link_map *map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void **>(&map), RTLD_DL_LINKMAP))
        return {};
    return FolderOfLoadedObject(map);
}

/// Folder of the running program's file, links resolved: where the host keeps
/// the outside libraries the package loads. Read from the process itself, not
/// from Qt, so it answers before the application object exists too.
inline QString ExecutableFolder()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

/// The folder a module finds its own files in. `address` lies in the module
/// (see above). In a loaded library: that library's folder. Linked into a
/// program instead: the folder of the library `libraryName` when the program
/// has loaded it (the program reads that library's files), else of the
/// program's own file; the current folder when even that is unknown.
inline QString OwnFolder(const void *address, const char *libraryName = nullptr)
{
    if (QString folder = LibraryFolderAt(address); !folder.isEmpty())
        return folder;
    if (libraryName) {
        if (void *library = dlopen(libraryName, RTLD_LAZY | RTLD_NOLOAD)) {
            link_map *loaded = nullptr;
            const bool known = dlinfo(library, RTLD_DI_LINKMAP, &loaded) == 0;
            const QString folder = known ? FolderOfLoadedObject(loaded) : QString();
            dlclose(library);
            if (!folder.isEmpty())
                return folder;
        }
    }
    if (QString program = ExecutableFolder(); !program.isEmpty())
        return program;
    return QDir::currentPath();
}

} // namespace r9base
