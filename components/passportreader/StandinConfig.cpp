#include "StandinConfig.h"

#include "platform/OwnFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace passportreader {

QString LibraryFolder()
{
    const QString folder = r9base::FolderOfFileAt(reinterpret_cast<const void *>(&LibraryFolder));
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

QString ConfigFilePath()
{
    return QDir(LibraryFolder()).filePath(QStringLiteral("passportreader.ini"));
}

QStringList ActiveFaults()
{
    QString fromFile;
    const QString ini = ConfigFilePath();
    // The ini reader takes a value's commas for a list of its own.
    if (QFileInfo::exists(ini))
        fromFile = QSettings(ini, QSettings::IniFormat).value(QStringLiteral("faults/active")).toStringList().join(QLatin1Char(','));
    return standin::ActiveFaultSwitches("PASSPORTREADER_FAULTS", fromFile);
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

} // namespace passportreader
