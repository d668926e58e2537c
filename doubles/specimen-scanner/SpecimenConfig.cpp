#include "SpecimenConfig.h"

#include "SettingsFile.h"
#include "platform/OwnFolder.h"

#include <QDir>

namespace specimen {

using twainds::ContainerKind;

namespace {

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
    return r9base::OwnFolder(reinterpret_cast<const void *>(&LibraryFolder));
}

Config ReadConfig()
{
    const doubles::SettingsFile ini(QDir(LibraryFolder()).filePath(QStringLiteral("twainspecimen.ini")));
    Config c;
    c.faults = ini.FaultSwitches("TWAINSPECIMEN_FAULTS", "faults", "active");
    bool ok = false;
    const int pages = ini.Setting("TWAINSPECIMEN_PAGES", "scan", "pages").toInt(&ok);
    if (ok && pages > 0)
        c.pages = pages;
    c.container = containerKind(ini.Setting("TWAINSPECIMEN_CONTAINER", "scan", "container"));
    const QString type = ini.Setting("TWAINSPECIMEN_PIXELTYPE", "scan", "pixeltype").toLower();
    const QStringList types{QStringLiteral("bw"), QStringLiteral("gray"), QStringLiteral("rgb"), QStringLiteral("palette")};
    if (types.contains(type))
        c.pixelType = unsigned(types.indexOf(type)); // the order of the TWPT_ numbers
    const QString folder = ini.Setting("TWAINSPECIMEN_PICTURES", "specimens", "folder");
    c.pictureFolder = folder.isEmpty() ? QDir(LibraryFolder()).absoluteFilePath(QStringLiteral("../specimens"))
                                       : QDir(LibraryFolder()).absoluteFilePath(folder);
    return c;
}

} // namespace specimen
