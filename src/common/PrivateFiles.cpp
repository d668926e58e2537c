#include "common/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr mode_t PrivateFolderMode = 0700;
constexpr mode_t PrivateFileMode = 0600;

/// Creates path and the missing folders above it, each new one private
/// from the start; folders that exist are left as they are (the home
/// folder is the user's own business).
bool createFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && !createFolder(path.left(slash)))
        return false;
    if (::mkdir(native.constData(), PrivateFolderMode) != 0 && errno != EEXIST)
        return false;
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool MakePrivateFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(folder);
    if (path.isEmpty() || !createFolder(path))
        return false;
    // A folder made before (or by another program) is closed too.
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    // A folder that cannot be closed does not serve as the data folder.
    if (::stat(native.constData(), &st) != 0)
        return false;
    return (st.st_mode & 07777) == PrivateFolderMode || ::chmod(native.constData(), PrivateFolderMode) == 0;
}

bool MakePrivate(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (path.isEmpty() || ::lstat(native.constData(), &st) != 0)
        return true; // nothing there to close
    bool closed = true;
    if (S_ISDIR(st.st_mode)) {
        if ((st.st_mode & 07777) != PrivateFolderMode)
            closed = ::chmod(native.constData(), PrivateFolderMode) == 0;
        const QDir dir(path);
        for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            closed = MakePrivate(dir.filePath(name)) && closed;
    } else if (S_ISREG(st.st_mode) && (st.st_mode & 07777) != PrivateFileMode) {
        closed = ::chmod(native.constData(), PrivateFileMode) == 0;
    }
    return closed;
}

TPrivateCreation::TPrivateCreation() : m_previous(::umask(077)) {}

TPrivateCreation::~TPrivateCreation() { ::umask(mode_t(m_previous)); }
