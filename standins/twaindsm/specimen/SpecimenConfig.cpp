#include "SpecimenConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <dlfcn.h>
#include <memory>

namespace specimen {

namespace {

QString setting(const QSettings *ini, const char *env, const char *key)
{
    const QString fromEnv = qEnvironmentVariable(env);
    if (!fromEnv.isEmpty() || !ini)
        return fromEnv;
    const QVariant v = ini->value(QLatin1String(key));
    return v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
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
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&LibraryFolder), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir::currentPath();
}

Config ReadConfig()
{
    const QString iniPath = QDir(LibraryFolder()).filePath(QStringLiteral("twainspecimen.ini"));
    std::unique_ptr<QSettings> ini;
    if (QFileInfo::exists(iniPath))
        ini = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);

    Config c;
    for (const QString &f : setting(ini.get(), "TWAINSPECIMEN_FAULTS", "faults/active")
                                .split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts))
        c.faults << f.trimmed().toLower();
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
