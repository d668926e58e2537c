#include "SaneDevices.h"

#include "SaneCall.h"

#include "TwainTypes.h"

#include <QSet>
#include <sane/sane.h>

namespace twainsane {

namespace {

constexpr int ProductNameBytes = int(sizeof(TW_STR32)) - 1;

int g_uses = 0;

/// The text cut to `bytes` in the locale's encoding, never inside a character.
QByteArray fitted(QString text, int bytes)
{
    QByteArray encoded = text.toLocal8Bit();
    while (encoded.size() > bytes && !text.isEmpty()) {
        text.chop(1);
        encoded = text.trimmed().toLocal8Bit();
    }
    return encoded;
}

} // namespace

SaneUse::SaneUse()
{
    if (g_uses == 0) {
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD)
            return;
    }
    ++g_uses;
    m_started = true;
}

SaneUse::~SaneUse()
{
    if (m_started && --g_uses == 0)
        sane_exit();
}

std::vector<DeviceSource> NameSources(const std::vector<DeviceDescription> &devices)
{
    std::vector<DeviceSource> sources;
    QSet<QByteArray> taken;
    for (const DeviceDescription &d : devices) {
        const QString base = QStringLiteral("SANE: %1 %2")
                                 .arg(QString::fromLocal8Bit(d.vendor), QString::fromLocal8Bit(d.model))
                                 .simplified();
        QByteArray name = fitted(base, ProductNameBytes);
        for (int n = 2; taken.contains(name); ++n) {
            const QByteArray suffix = " #" + QByteArray::number(n);
            name = fitted(base, ProductNameBytes - int(suffix.size())) + suffix;
        }
        taken.insert(name);
        sources.push_back({d.name, name});
    }
    return sources;
}

const std::vector<DeviceSource> &Sources(bool refresh)
{
    static std::vector<DeviceSource> cached;
    static bool asked = false;
    // No device may mean none was switched on yet: the host runs all day.
    if (asked && !refresh && !cached.empty())
        return cached;
    bool listed = false;
    std::vector<DeviceDescription> devices;
    RunOffThread([&] {
        SaneUse use;
        if (!use.started())
            return;
        listed = true;
        const SANE_Device **list = nullptr;
        if (sane_get_devices(&list, SANE_FALSE) == SANE_STATUS_GOOD && list)
            for (const SANE_Device **d = list; *d; ++d)
                if ((*d)->name && (*d)->name[0])
                    devices.push_back({(*d)->name, (*d)->vendor ? (*d)->vendor : "", (*d)->model ? (*d)->model : ""});
    });
    if (!listed)
        return cached;
    cached = NameSources(devices);
    asked = true;
    return cached;
}

} // namespace twainsane
