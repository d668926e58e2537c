#pragma once
// The settings of a double, or of an engine server's specimen mode: its
// environment variables and its own 8-bit INI file beside its library. Read
// afresh at every use (a SettingsFile lives for one question), so that a test
// can switch them between calls. How the file is read and how a list in it is
// written: README.md beside this file.

#include <QString>
#include <QStringList>
#include <memory>

namespace r9base {
class ProfileFile;
}

namespace doubles {

class SettingsFile
{
public:
    /// Reads the file at path now; one that is missing or unreadable has no values.
    explicit SettingsFile(const QString &path);

    /// The value of key in section, trimmed; empty when either is missing.
    QString Value(const char *section, const char *key) const;
    /// The environment variable's value, trimmed, else the file's; a blank
    /// variable counts as unset.
    QString Setting(const char *variable, const char *section, const char *key) const;
    /// A folder: the environment variable's value as it stands, else the
    /// file's value taken from `base`, else `fallback` in `base`.
    QString Folder(const char *variable, const char *section, const char *key, const QString &base,
                   const QString &fallback) const;
    /// The fault switches on now: the variable's and those of the file's key together.
    QStringList FaultSwitches(const char *variable, const char *section, const char *key) const;

private:
    std::shared_ptr<const r9base::ProfileFile> m_file;
};

} // namespace doubles
