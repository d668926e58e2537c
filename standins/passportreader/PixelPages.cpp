#include "PixelPages.h"

#include "StandinConfig.h"

#include <QCryptographicHash>
#include <QSet>
#include <mutex>

namespace passportreader {

namespace {

// Digests, not the pages: a day of scans must not pile up in memory, and
// the pictures are personal data.
struct Marked
{
    std::mutex lock;
    QSet<QByteArray> digests;
};

Marked &Pages()
{
    static Marked marked;
    return marked;
}

QByteArray Digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

void MarkReadFromPixels(const QByteArray &fileBytes)
{
    Marked &m = Pages();
    std::lock_guard guard(m.lock);
    m.digests.insert(Digest(fileBytes));
}

bool ReadFromPixels(const QByteArray &fileBytes)
{
    if (EveryPageReadFromPixels())
        return true;
    Marked &m = Pages();
    std::lock_guard guard(m.lock);
    return m.digests.contains(Digest(fileBytes));
}

} // namespace passportreader
