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
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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
