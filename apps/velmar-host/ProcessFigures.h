#pragma once
// What a long run of the host is measured by: the process's resident memory
// and open descriptors, and the files in the temporary and data folders.

#include <QJsonObject>
#include <QString>
#include <QStringList>

struct ProcessFigures
{
    qint64 residentKb = 0;   ///< VmRSS of /proc/self/status
    int descriptors = 0;     ///< entries of /proc/self/fd
    QStringList tempFiles;   ///< files and empty folders ("name/") under the temporary folder
    QStringList dataFiles;   ///< files and empty folders ("name/") under the data folder

    QJsonObject ToJson() const;
};

/// Measures now; folders are searched with their sub-folders.
ProcessFigures MeasureProcess(const QString &tempFolder, const QString &dataFolder);
