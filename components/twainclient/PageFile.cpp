#include "TwainClient.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace twainclient {

QString WritePageFile(const QString &path, std::initializer_list<QByteArrayView> parts)
{
    // Written beside its place and put there whole: a file cut short (a full
    // disk) never stands under the name, and a file of that name that was
    // there stays as it was until the new one is complete.
    const QString part = path + QStringLiteral(".part");
    // One left by a run that ended half way would keep its own file mode.
    QFile::remove(part);
    QFile file(part);
    // A scan is a person's data: private from its first byte, whoever
    // writes it and whatever the process's file mode mask is meanwhile.
    if (!file.open(QIODevice::WriteOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    bool written = true;
    for (const QByteArrayView piece : parts)
        written = written && file.write(piece.data(), piece.size()) == piece.size();
    written = written && file.flush();
    const QString why = file.errorString();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (written && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0)
        return QString();
    const QString reason = written ? QString::fromLocal8Bit(std::strerror(errno)) : why;
    QFile::remove(part);
    return QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

} // namespace twainclient
