#include "PageOrigin.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <mutex>

namespace passportreader {

namespace {

std::mutex g_lock;

QSet<QByteArray> &ScannerPages()
{
    static QSet<QByteArray> pages;
    return pages;
}

QByteArray Digest(const QByteArray &bytes)
{
    // A page's digest is taken once per scan over 8 to 26 MB: BLAKE2b
    // tells pages apart as surely as SHA-256 at several times its speed.
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256);
}

} // namespace

void RememberScannerPage(const QByteArray &fileBytes)
{
    std::lock_guard lock(g_lock);
    ScannerPages().insert(Digest(fileBytes));
}

bool PageFromScanner(const QByteArray &fileBytes)
{
    std::lock_guard lock(g_lock);
    return ScannerPages().contains(Digest(fileBytes));
}

bool PageFromScanner(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && PageFromScanner(file.readAll());
}

} // namespace passportreader
