#include "FuzzFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace fuzz {

QString ScratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        // Memory-backed when the machine has it: the settings writer syncs
        // every file it writes, which costs nothing there.
        const QString shm = QStringLiteral("/dev/shm");
        auto dir = QFileInfo(shm).isWritable() ? std::make_unique<QTemporaryDir>(shm + QStringLiteral("/r9fuzz-XXXXXX"))
                                               : std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            std::abort();
        return dir;
    }();
    return folder->path();
}

QString ScratchFile(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = ScratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

QString ScratchPicture(const QString &name, QSize size)
{
    const QString path = ScratchFolder() + QLatin1Char('/') + name;
    QImage page(size, QImage::Format_RGB888);
    page.fill(Qt::gray);
    if (!page.save(path))
        std::abort();
    return path;
}

} // namespace fuzz
