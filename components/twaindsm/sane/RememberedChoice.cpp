#include "RememberedChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace twainsane {

namespace {

QString choicesFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(base).filePath(QStringLiteral("twaindsm/sane-choices.ini"));
}

// A product name holds ':' and blanks, which a group name of the file
// would escape in its own way: the name is stored as its hex bytes.
QString groupOf(const QByteArray &productName)
{
    return QString::fromLatin1(productName.toHex());
}

} // namespace

RememberedChoice ReadRememberedChoice(const QByteArray &productName)
{
    RememberedChoice choice;
    const QSettings file(choicesFile(), QSettings::IniFormat);
    const QString group = groupOf(productName);
    bool ok = false;
    const uint type = file.value(group + QStringLiteral("/pixelType")).toUInt(&ok);
    if (ok && (type == TWPT_BW || type == TWPT_GRAY || type == TWPT_RGB))
        choice.pixelType = TW_UINT16(type);
    const double dpi = file.value(group + QStringLiteral("/resolution")).toDouble(&ok);
    if (ok && dpi > 0 && dpi <= 1e6)
        choice.resolution = dpi;
    return choice;
}

bool RememberChoice(const QByteArray &productName, TW_UINT16 pixelType, double resolution)
{
    const QString path = choicesFile();
    const QString folder = QFileInfo(path).absolutePath();
    // Which scanners the user has is theirs alone, whatever the umask: the
    // folder is closed to others and the file made private before anything
    // is written into it (rewriting keeps a file's permissions).
    constexpr QFile::Permissions privateFile = QFile::ReadOwner | QFile::WriteOwner;
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, privateFile | QFile::ExeOwner))
        return false;
    if (!QFileInfo::exists(path)) {
        QFile create(path);
        if (!create.open(QIODevice::WriteOnly | QIODevice::NewOnly, privateFile) && !QFileInfo::exists(path))
            return false;
    }
    if (!QFile::setPermissions(path, privateFile))
        return false;
    // A file that does not read keeps saying so in the status of the object
    // that read it, which then no longer tells whether the write worked: one
    // object reads the file whole, another, sharing what was read, writes.
    const QSettings reader(path, QSettings::IniFormat);
    (void)reader.allKeys();
    QSettings file(path, QSettings::IniFormat);
    const QString group = groupOf(productName);
    file.setValue(group + QStringLiteral("/pixelType"), uint(pixelType));
    file.setValue(group + QStringLiteral("/resolution"), resolution);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace twainsane
