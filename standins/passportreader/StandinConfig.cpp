#include "StandinConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <dlfcn.h>

namespace passportreader {

QString LibraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&LibraryFolder), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir::currentPath();
}

QString ConfigFilePath()
{
    return QDir(LibraryFolder()).filePath(QStringLiteral("passportreader.ini"));
}

QStringList ActiveFaults()
{
    QStringList names;
    const QString fromEnv = qEnvironmentVariable("PASSPORTREADER_FAULTS");
    names += fromEnv.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    const QString ini = ConfigFilePath();
    if (QFileInfo::exists(ini)) {
        QSettings settings(ini, QSettings::IniFormat);
        for (const QString &item : settings.value(QStringLiteral("faults/active")).toStringList())
            names += item.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    }
    for (QString &n : names)
        n = n.trimmed().toLower();
    names.removeDuplicates();
    return names;
}

bool FaultActive(const char *name)
{
    return ActiveFaults().contains(QString::fromLatin1(name));
}

QString SpecimenFolder()
{
    const QString fromEnv = qEnvironmentVariable("PASSPORTREADER_SPECIMENS");
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString ini = ConfigFilePath();
    if (QFileInfo::exists(ini)) {
        QSettings settings(ini, QSettings::IniFormat);
        const QString folder = settings.value(QStringLiteral("specimens/folder")).toString();
        if (!folder.isEmpty())
            return QDir(LibraryFolder()).absoluteFilePath(folder);
    }
    return QDir(LibraryFolder()).filePath(QStringLiteral("specimens"));
}

namespace {

/// The environment's value, else the ini file's key under [recognition].
QString RecognitionSetting(const char *variable, const QString &key)
{
    const QString fromEnv = qEnvironmentVariable(variable);
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString ini = ConfigFilePath();
    if (!QFileInfo::exists(ini))
        return {};
    return QSettings(ini, QSettings::IniFormat).value(QStringLiteral("recognition/") + key).toString();
}

} // namespace

bool EveryPageReadFromPixels()
{
    return RecognitionSetting("PASSPORTREADER_READ", QStringLiteral("read")).trimmed().compare(QLatin1String("pixels"), Qt::CaseInsensitive) == 0;
}

QString EngineLogFile()
{
    const QString file = RecognitionSetting("PASSPORTREADER_LOG", QStringLiteral("log"));
    return file.isEmpty() ? file : QDir(LibraryFolder()).absoluteFilePath(file);
}

QString FaultMessage(const char *name, const QString &what)
{
    return QStringLiteral("%1 (simulated fault \"%2\" of the engine stand-in)").arg(what, QString::fromLatin1(name));
}

} // namespace passportreader
