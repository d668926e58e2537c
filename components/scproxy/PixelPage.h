#pragma once
// A page read from its pixels: a real scanner's page, or a picture in the
// feeder that no description names. Its machine-readable zone decides what
// it is: a passport's zone is a page of the form "InoPas_MRZ" (read through
// the zone "ZoneOfMRZ"), a Russian internal passport's a page of "Passport1"
// ("ZoneOfPassportRF", or "ZoneOfMRZ", which reads any zone), whose print
// adds the fields the zone lacks; any other zone is no document of the
// forms the configuration reaches. Where the print is found, the Russian
// foreign passport is a page of "InoPas1" ("ZoneOfInoPassportRF"), and a
// page without a zone that prints a driving licence one of "DRVL"
// ("ZoneOfDrivingLicenceRF"), both read from their print.
//
// The page lies as the reader finds it; the configuration's zone chain turns
// it as it turns any page. A zone whose turn brings the page upright reads
// it; else, when a zone of the form's reaches the page at all, the page is
// read turned: a passport then gives "InoPas_MRZ" with the zone's fields
// empty and in error (the recognition window offers the repeat run with the
// other turn), any other form no document.

#include "EngineState.h"
#include "MrzReader.h"

#include <QByteArray>
#include <QImage>
#include <map>

namespace scproxy {

struct PixelReading
{
    QByteArray form;  ///< the form of the document; empty: no document
    QByteArray zone;  ///< the configuration's zone that read it
    QString zoneFound; ///< layout of the zone the page shows ("TD3", "RUSPN", ...); empty: none
    std::map<QByteArray, engine::FieldResult> fields;
};

/// Reads the page as scanned under the scanning configuration, from the
/// zone the reader found on it and from its print.
PixelReading ReadPixelPage(const QImage &page, const mrz::MrzResult &zone, const ScanConfiguration &config);

} // namespace scproxy
