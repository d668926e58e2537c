#include "DefaultSourceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace twaindsm {

QString DefaultSourceFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(base).filePath(QStringLiteral("twaindsm/default-source"));
}

QString ReadDefaultSource()
{
    QFile file(DefaultSourceFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // One line; a product name is at most 33 characters.
    return QString::fromUtf8(file.readLine(256)).trimmed();
}

bool WriteDefaultSource(const QString &productName)
{
    const QString path = DefaultSourceFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(productName.toUtf8() + '\n');
    return file.commit();
}

} // namespace twaindsm
