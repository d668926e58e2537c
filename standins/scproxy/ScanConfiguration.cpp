#include "ScanConfiguration.h"

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

} // namespace scproxy
