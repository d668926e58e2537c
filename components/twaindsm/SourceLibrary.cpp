#include "SourceLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>
#include <dlfcn.h>

#include "TwainDsmHooks.h"
#include "platform/OwnFolder.h"

namespace twaindsm {

namespace {

QString managerFolder()
{
    const QString folder = r9base::FolderOfFileAt(reinterpret_cast<const void *>(&managerFolder));
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

// Sources stay mapped once loaded: a source's code must outlive anything it
// left with Qt (metatypes, deferred deletions) after it was closed.
void *openLibrary(const QString &path)
{
    return dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}

// A source library that will not load (one it needs is missing or broken,
// as SANE's may be) would take its sources away without a word: the loader's
// reason is logged, once per library and reason, as the list is made anew
// for every session.
void reportUnloadable(const QString &path, const char *reason)
{
    static QSet<QString> reported;
    const QString line = QStringLiteral("twaindsm: cannot load the source %1: %2")
                             .arg(path, reason ? QString::fromLocal8Bit(reason) : QStringLiteral("no reason given"));
    if (reported.contains(line))
        return;
    reported.insert(line);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

QStringList SourceFolders()
{
    QStringList folders{QDir(managerFolder()).filePath(QStringLiteral("twain"))};
    const QString extra = qEnvironmentVariable(TWAINDSM_SOURCES_ENV);
    for (const QString &f : extra.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders << QDir(f).absolutePath();
    return folders;
}

/// Reads away the condition of a request the library refused as unknown
/// to it: it would otherwise stand for the next operation, which may well
/// succeed.
void forgetRefusal(DSENTRYPROC entry, pTW_IDENTITY app)
{
    TW_STATUS cleared{};
    entry(app, DG_CONTROL, DAT_STATUS, MSG_GET, &cleared);
}

std::vector<TW_IDENTITY> AskIdentities(DSENTRYPROC entry, pTW_IDENTITY app)
{
    // A library that drives several devices lists one source per device;
    // one that does not know the list answers for itself alone.
    std::vector<TW_IDENTITY> identities;
    TW_IDENTITY identity{};
    if (entry(app, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity) == TWRC_SUCCESS) {
        do {
            identities.push_back(identity);
            identity = TW_IDENTITY{};
        } while (identities.size() < MaxSourcesPerLibrary
                 && entry(app, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity) == TWRC_SUCCESS);
        return identities;
    }
    forgetRefusal(entry, app);
    identity = TW_IDENTITY{};
    if (entry(app, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity) == TWRC_SUCCESS)
        identities.push_back(identity);
    return identities;
}

std::vector<SourceLibrary> DiscoverSources(pTW_IDENTITY app, Listing listing)
{
    std::vector<SourceLibrary> found;
    QSet<QString> names;
    for (const QString &folder : SourceFolders()) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.so")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo &file : files) {
            SourceLibrary source;
            source.path = file.absoluteFilePath();
            if (!LoadSource(source))
                continue;
            if (listing == Listing::Afresh) {
                TW_IDENTITY unused{};
                if (source.entry(app, DG_CONTROL, DAT_IDENTITY, TWAINDSM_MSG_RELIST, &unused) != TWRC_SUCCESS)
                    forgetRefusal(source.entry, app);
            }
            const std::vector<TW_IDENTITY> identities = AskIdentities(source.entry, app);
            UnloadSource(source);
            for (TW_IDENTITY identity : identities) {
                if (identity.ProductName[0] == '\0')
                    continue;
                identity.ProductName[sizeof identity.ProductName - 1] = '\0';
                identity.Id = 0;
                source.identity = identity;
                if (names.contains(source.productName()))
                    continue;
                names.insert(source.productName());
                found.push_back(source);
            }
        }
    }
    return found;
}

bool LoadSource(SourceLibrary &source)
{
    if (source.handle)
        return true;
    source.handle = openLibrary(source.path);
    if (!source.handle) {
        reportUnloadable(source.path, dlerror());
        return false;
    }
    dlerror(); // a stale message must not pass for the lookup's
    source.entry = reinterpret_cast<DSENTRYPROC>(dlsym(source.handle, TWAIN_DS_ENTRY_NAME));
    if (!source.entry) {
        reportUnloadable(source.path, dlerror());
        UnloadSource(source);
        return false;
    }
    return true;
}

void UnloadSource(SourceLibrary &source)
{
    if (source.handle)
        dlclose(source.handle);
    source.handle = nullptr;
    source.entry = nullptr;
}

} // namespace twaindsm
