#include "SettingsFile.h"

#include "FaultSwitches.h"
#include "platform/ProfileFile.h"

#include <QDir>

namespace doubles {

SettingsFile::SettingsFile(const QString &path)
{
    auto file = std::make_shared<r9base::ProfileFile>();
    file->Load(path);
    m_file = std::move(file);
}

QString SettingsFile::Value(const char *section, const char *key) const
{
    return QString::fromLocal8Bit(m_file->Value(section, key));
}

QString SettingsFile::Setting(const char *variable, const char *section, const char *key) const
{
    const QString fromEnv = qEnvironmentVariable(variable).trimmed();
    return fromEnv.isEmpty() ? Value(section, key) : fromEnv;
}

QString SettingsFile::Folder(const char *variable, const char *section, const char *key, const QString &base,
                            const QString &fallback) const
{
    if (const QString fromEnv = qEnvironmentVariable(variable); !fromEnv.isEmpty())
        return fromEnv;
    if (const QString folder = Value(section, key); !folder.isEmpty())
        return QDir(base).absoluteFilePath(folder);
    return QDir(base).filePath(fallback);
}

QStringList SettingsFile::FaultSwitches(const char *variable, const char *section, const char *key) const
{
    return ActiveFaultSwitches(variable, Value(section, key));
}

} // namespace doubles
