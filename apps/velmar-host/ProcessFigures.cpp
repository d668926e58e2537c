#include "ProcessFigures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>

namespace {

qint64 ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

int Descriptors()
{
    // The listing itself holds one descriptor open while it runs.
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size()) - 1;
}

/// Every file under folder, and every empty folder (with a trailing "/"):
/// an engine's empty temporary or package folder is left behind as well.
QStringList FilesUnder(const QString &folder)
{
    QStringList files;
    if (folder.isEmpty())
        return files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isDir())
            files << QDir(folder).relativeFilePath(path);
        else if (QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            files << QDir(folder).relativeFilePath(path) + QLatin1Char('/');
    }
    files.sort();
    return files;
}

} // namespace

QJsonObject ProcessFigures::ToJson() const
{
    return QJsonObject{{"residentKb", residentKb},
                       {"descriptors", descriptors},
                       {"tempFiles", QJsonArray::fromStringList(tempFiles)},
                       {"dataFiles", QJsonArray::fromStringList(dataFiles)}};
}

ProcessFigures MeasureProcess(const QString &tempFolder, const QString &dataFolder)
{
    ProcessFigures f;
    f.residentKb = ResidentKb();
    f.descriptors = Descriptors();
    f.tempFiles = FilesUnder(tempFolder);
    f.dataFiles = FilesUnder(dataFolder);
    return f;
}
