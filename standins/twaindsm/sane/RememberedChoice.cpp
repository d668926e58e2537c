#include "RememberedChoice.h"

#include <QDir>
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
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings file(path, QSettings::IniFormat);
    const QString group = groupOf(productName);
    file.setValue(group + QStringLiteral("/pixelType"), uint(pixelType));
    file.setValue(group + QStringLiteral("/resolution"), resolution);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace twainsane
