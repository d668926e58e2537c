#include "ScanConfiguration.h"

#include <algorithm>

namespace scproxy {

namespace {

constexpr int MaxZones = 64;     // "Zone1" ... "Zone64"
constexpr int MaxChainLength = 16; // a configuration whose zones name each other in a circle reads nothing

ZoneReading FollowChain(const ProfileFile &file, const QByteArray &type)
{
    ZoneReading reading;
    reading.listedType = type;
    QByteArray zone = type;
    int turn = 0;
    for (int step = 0; step < MaxChainLength; ++step) {
        if (file.Value(zone, "ZoneProcessing").contains("ImageRotate"))
            turn += file.IntValue(zone, "ZoneProcessingParam", 0);
        const QByteArray next = file.Value(zone, "ZoneResult").split(',').first().trimmed();
        if (next.isEmpty()) {
            reading.readingZone = zone;
            reading.turn = NormalisedAngle(turn);
            return reading;
        }
        zone = next;
    }
    return reading; // no reading zone: the chain does not end
}

} // namespace

int NormalisedAngle(int degrees)
{
    return ((degrees % 360) + 360) % 360;
}

ScanConfiguration ScanConfiguration::FromProfile(const ProfileFile &file, const QByteArray &section)
{
    ScanConfiguration c;
    c.name = section;
    c.showTwain = file.IntValue(section, "ShowTWAIN", 0) != 0;
    c.useAdf = file.IntValue(section, "UseADF", 0) != 0;
    c.resolutionX = file.IntValue(section, "ResolutionX", c.resolutionX);
    c.resolutionY = file.IntValue(section, "ResolutionY", c.resolutionY);
    c.bitsPerPixel = file.IntValue(section, "BitsPerPixel", c.bitsPerPixel);
    c.numPages = file.IntValue(section, "NumPages", c.numPages);
    c.pageDimensions = file.Value(section, "PageDimensions");
    for (int k = 1; k <= MaxZones; ++k) {
        const QByteArray type = file.Value(section, "Zone" + QByteArray::number(k) + "Type");
        if (!type.isEmpty())
            c.zones.append(FollowChain(file, type));
    }
    return c;
}

QByteArray ScanConfiguration::Reading() const
{
    QByteArray text;
    for (const ZoneReading &z : zones)
        text += z.listedType + '>' + z.readingZone + '@' + QByteArray::number(z.turn) + ';';
    return text;
}

const ZoneReading *ScanConfiguration::ZoneFor(const QList<QByteArray> &readingZones, int lie, bool *upright) const
{
    const ZoneReading *turned = nullptr;
    *upright = false;
    for (const ZoneReading &z : zones) {
        const bool reads = std::any_of(readingZones.begin(), readingZones.end(),
                                       [&](const QByteArray &name) { return z.readingZone.compare(name, Qt::CaseInsensitive) == 0; });
        if (!reads)
            continue;
        if (NormalisedAngle(lie + z.turn) == 0) {
            *upright = true;
            return &z;
        }
        if (!turned)
            turned = &z;
    }
    return turned;
}

} // namespace scproxy
