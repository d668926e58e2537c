#include "SpecimenConfig.h"

#include "FaultSwitches.h"
#include "platform/OwnFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace specimen {

using twainds::ContainerKind;

namespace {

/// The ini file's value; the ini reader takes a value's commas for a list of its own.
QString fileValue(const QSettings *ini, const char *key)
{
    if (!ini)
        return {};
    const QVariant v = ini->value(QLatin1String(key));
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
}

QString setting(const QSettings *ini, const char *env, const char *key)
{
    const QString fromEnv = qEnvironmentVariable(env);
    return fromEnv.isEmpty() ? fileValue(ini, key) : fromEnv;
}

ContainerKind containerKind(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("onevalue"))
        return ContainerKind::OneValue;
    if (n == QLatin1String("enumeration"))
        return ContainerKind::Enumeration;
    if (n == QLatin1String("array"))
        return ContainerKind::Array;
    if (n == QLatin1String("wrong"))
        return ContainerKind::Wrong;
    return ContainerKind::Default;
}

} // namespace

QString LibraryFolder()
{
    const QString folder = r9base::FolderOfFileAt(reinterpret_cast<const void *>(&LibraryFolder));
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

Config ReadConfig()
{
    const QString iniPath = QDir(LibraryFolder()).filePath(QStringLiteral("twainspecimen.ini"));
    std::unique_ptr<QSettings> ini;
    if (QFileInfo::exists(iniPath))
        ini = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);

    Config c;
    c.faults = standin::ActiveFaultSwitches("TWAINSPECIMEN_FAULTS", fileValue(ini.get(), "faults/active"));
    bool ok = false;
    const int pages = setting(ini.get(), "TWAINSPECIMEN_PAGES", "scan/pages").toInt(&ok);
    if (ok && pages > 0)
        c.pages = pages;
    c.container = containerKind(setting(ini.get(), "TWAINSPECIMEN_CONTAINER", "scan/container"));
    const QString type = setting(ini.get(), "TWAINSPECIMEN_PIXELTYPE", "scan/pixeltype").trimmed().toLower();
    const QStringList types{QStringLiteral("bw"), QStringLiteral("gray"), QStringLiteral("rgb"), QStringLiteral("palette")};
    if (types.contains(type))
        c.pixelType = unsigned(types.indexOf(type)); // the order of the TWPT_ numbers
    const QString folder = setting(ini.get(), "TWAINSPECIMEN_PICTURES", "specimens/folder");
    c.pictureFolder = folder.isEmpty() ? QDir(LibraryFolder()).absoluteFilePath(QStringLiteral("../specimens"))
                                       : QDir(LibraryFolder()).absoluteFilePath(folder);
    return c;
}

} // namespace specimen
