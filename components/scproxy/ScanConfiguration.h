#pragma once
// A scanning configuration of the engine's configuration file: the scan
// settings of one section and its zones, each followed through its chain of
// zone sections ("ZoneProcessing" = "_ImageRotate@16" turns the zone by
// "ZoneProcessingParam" degrees, "ZoneResult" names the next zone) to the
// zone that finally reads the page.

#include "platform/ProfileFile.h"

#include <QByteArray>
#include <QList>

namespace scproxy {

using r9base::ProfileFile;

struct ZoneReading
{
    QByteArray listedType; ///< "ZoneNType" as the configuration lists it
    QByteArray readingZone; ///< the zone at the end of its chain
    int turn = 0;           ///< clockwise degrees the chain turns the page, 0..359
};

struct ScanConfiguration
{
    QByteArray name;
    bool showTwain = false;
    bool useAdf = false;
    int resolutionX = 300;
    int resolutionY = 300;
    int bitsPerPixel = 24;
    int numPages = 1;
    QByteArray pageDimensions;
    QList<ZoneReading> zones;

    /// How the configuration reads a page, as text: its zones with their
    /// turns. Two configurations that read alike give the same text.
    QByteArray Reading() const;

    /// The zone that reads a page lying turned by `lie` clockwise degrees
    /// with one of readingZones: the first whose turn brings it upright,
    /// else the first of them at all (it reads the page turned); null when
    /// none of them is the configuration's. *upright tells which.
    const ZoneReading *ZoneFor(const QList<QByteArray> &readingZones, int lie, bool *upright) const;

    /// The configuration of section in file (which must hold that section).
    static ScanConfiguration FromProfile(const ProfileFile &file, const QByteArray &section);
};

/// Normalises an angle in degrees to 0..359.
int NormalisedAngle(int degrees);

} // namespace scproxy
