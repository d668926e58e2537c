#include "RecognitionLog.h"

#include <QFile>
#include <mutex>

namespace enginekit {

void LogRecognition(const QString &file, PageReading reading, const QString &detail)
{
    if (file.isEmpty())
        return;
    static std::mutex lock;
    std::lock_guard guard(lock);
    QFile log(file);
    // A log that cannot be written must not fail the recognition it tells of.
    if (!log.open(QIODevice::Append | QIODevice::Text))
        return;
    log.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString line = (reading == PageReading::Read ? QStringLiteral("read") : QStringLiteral("described"))
                         + (detail.isEmpty() ? QString() : QLatin1Char(' ') + detail) + QLatin1Char('\n');
    log.write(line.toUtf8());
}

} // namespace enginekit
