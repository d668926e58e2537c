#include "PrivateRecords.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

/// While it lives, new files and folders are for the user alone.
class TPrivateUmask
{
public:
    TPrivateUmask() : m_previous(::umask(077)) {}
    ~TPrivateUmask() { ::umask(m_previous); }
    TPrivateUmask(const TPrivateUmask &) = delete;
    TPrivateUmask &operator=(const TPrivateUmask &) = delete;

private:
    mode_t m_previous;
};

} // namespace

bool MakeRecordFolder(const QString &folder)
{
    {
        const TPrivateUmask privateCreation;
        if (!QDir().mkpath(folder))
            return false;
    }
    // A folder made before (by an earlier run, or another umask) is closed too.
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

bool WritePrivately(const QString &file, const std::function<bool()> &write)
{
    bool written = false;
    {
        const TPrivateUmask privateCreation;
        written = write();
    }
    const QByteArray native = QFile::encodeName(file);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 07777) != 0600)
        ::chmod(native.constData(), 0600);
    return written;
}
