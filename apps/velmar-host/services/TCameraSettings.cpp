#include "TCameraSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace hostkit {

namespace {

const QString StreamPrefix = QStringLiteral("Stream.");

/// The settings reader splits unquoted values at commas: a name or an
/// address that holds one is put back together.
QString Text(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString().trimmed();
}

QStringList Logins(const QVariant &value)
{
    QStringList logins;
    const QStringList parts = value.userType() == QMetaType::QStringList
                                  ? value.toStringList()
                                  : value.toString().split(QLatin1Char(','));
    for (const QString &part : parts)
        if (!part.trimmed().isEmpty())
            logins << part.trimmed();
    return logins;
}

int Milliseconds(const QSettings &ini, const char *key, int fallback)
{
    bool ok = false;
    const double seconds = ini.value(QLatin1String(key)).toDouble(&ok);
    // An hour at most: a longer wait is no camera an operator waits for,
    // and more would not fit the timer's milliseconds.
    constexpr double MaxSeconds = 3600;
    return ok && seconds > 0 ? static_cast<int>(std::min(seconds, MaxSeconds) * 1000) : fallback;
}

} // namespace

TCameraSettings TCameraSettings::Read(const QString &file)
{
    TCameraSettings settings;
    if (!QFileInfo::exists(file))
        return settings;
    // Addresses may carry a camera's password: the file is the user's alone.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Cameras"));
    settings.synthetic = ini.value(QStringLiteral("Synthetic"), true).toBool();
    settings.devices = ini.value(QStringLiteral("Devices"), true).toBool();
    settings.deviceUsers = Logins(ini.value(QStringLiteral("DeviceUsers")));
    settings.firstFrameMs = Milliseconds(ini, "FirstFrameSeconds", settings.firstFrameMs);
    settings.silenceMs = Milliseconds(ini, "SilenceSeconds", settings.silenceMs);
    ini.endGroup();

    for (const QString &group : ini.childGroups()) {
        if (!group.startsWith(StreamPrefix) || group.size() == StreamPrefix.size())
            continue;
        ini.beginGroup(group);
        TStreamCamera stream;
        stream.key = group.mid(StreamPrefix.size());
        stream.name = Text(ini.value(QStringLiteral("Name")));
        if (stream.name.isEmpty())
            stream.name = stream.key;
        stream.address = Text(ini.value(QStringLiteral("Address")));
        stream.users = Logins(ini.value(QStringLiteral("Users")));
        ini.endGroup();
        if (!stream.address.isEmpty())
            settings.streams.push_back(std::move(stream));
    }
    return settings;
}

QUrl StreamUrl(const QString &address, const QString &baseFolder)
{
    if (address.contains(QLatin1String("://")))
        return QUrl(address);
    return QUrl::fromLocalFile(QFileInfo(QDir(baseFolder), address).absoluteFilePath());
}

QString PrintableAddress(const QString &address)
{
    if (!address.contains(QLatin1String("://")))
        return address;
    return QUrl(address).toDisplayString(QUrl::RemovePassword);
}

} // namespace hostkit
