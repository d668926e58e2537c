#include "common/PackageFolders.h"

#include "host/Sdlogfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Removes everything in the folder open as fd, which it closes. Entries are
/// reached through the open folders, never through a path, and a folder is
/// entered only when it is no link: whatever a link points to stays, even
/// one put in a folder's place while this runs. Returns 0, else the error
/// number of the first failure.
int removeContents(int fd)
{
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    int failure = 0;
    const auto failed = [&failure](int error) {
        if (!failure)
            failure = error;
    };
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        const int child = ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0) {
            if (const int error = removeContents(child))
                failed(error);
            else if (::unlinkat(::dirfd(dir), name, AT_REMOVEDIR) != 0)
                failed(errno);
        } else if (errno == ENOTDIR || errno == ELOOP) { // a file or a link: removed itself
            if (::unlinkat(::dirfd(dir), name, 0) != 0)
                failed(errno);
        } else {
            failed(errno);
        }
    }
    ::closedir(dir);
    return failure;
}

} // namespace

bool IsPackageFolderName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^dss[0-9A-F]{4}$"));
    return pattern.match(name).hasMatch();
}

bool RemovePackageFolder(const QString &dataFolder, const QString &name, int &error)
{
    error = 0;
    const int data = ::open(QFile::encodeName(dataFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (data < 0) {
        error = errno;
        return false;
    }
    const QByteArray entry = QFile::encodeName(name);
    // Looked at again right before: what was a folder when listed may be a
    // link by now, and a link is not the package's to remove or follow.
    const int folder = ::openat(data, entry.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        if (errno != ENOTDIR && errno != ELOOP)
            error = errno;
    } else if (!(error = removeContents(folder)) && ::unlinkat(data, entry.constData(), AT_REMOVEDIR) != 0) {
        error = errno;
    }
    const bool removed = folder >= 0 && !error;
    ::close(data);
    return removed;
}

int RemoveOldPackageFolders(const QString &dataFolder, int keepDays, const QDateTime &now)
{
    if (keepDays <= 0 || dataFolder.isEmpty())
        return 0;
    const QDateTime limit = now.addDays(-keepDays);
    int removed = 0;
    const QDir data(dataFolder);
    // NoSymLinks: a link of a package folder's name may point anywhere; what
    // it points to is not the engine's to lose.
    for (const QFileInfo &entry : data.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (!IsPackageFolderName(entry.fileName()) || entry.lastModified() >= limit)
            continue;
        int error = 0;
        if (RemovePackageFolder(dataFolder, entry.fileName(), error))
            ++removed;
        else if (error)
            WriteLogFileMessageWhenInstalled(QStringLiteral("Папку пакета распознавания \"%1\" не удалось удалить: %2")
                                                 .arg(entry.fileName(), qt_error_string(error)));
    }
    if (removed > 0)
        WriteLogFileMessageWhenInstalled(
            QStringLiteral("Удалено папок пакетов распознавания старше %1 дн.: %2").arg(keepDays).arg(removed));
    return removed;
}
