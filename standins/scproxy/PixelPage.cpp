#include "PixelPage.h"

#include "MrzReader.h"
#include "ZoneFields.h"

#include <QStringList>

namespace scproxy {

namespace {

/// What a zone makes the page: the form, and the configuration zones that read it.
struct FormOfZone
{
    QByteArray form;
    QList<QByteArray> readingZones;
};

FormOfZone FormOf(const mrz::MrzResult &r)
{
    if (!r.found)
        return {};
    if (r.format == mrz::Format::RusInternal)
        return {QByteArrayLiteral("Passport1"), {QByteArrayLiteral("ZoneOfPassportRF"), QByteArrayLiteral("ZoneOfMRZ")}};
    // Identity cards, visas and other travel documents have no form here.
    if (r.format == mrz::Format::TD3 && r.fields.documentCode.value.startsWith(QLatin1Char('P')))
        return {QByteArrayLiteral("InoPas_MRZ"), {QByteArrayLiteral("ZoneOfMRZ")}};
    return {};
}

/// The configuration's zone that reads the page lying at `lie` clockwise
/// degrees: one whose turn brings it upright, else the first that reads
/// that form at all; null when none does. *upright tells which.
const ZoneReading *ReadingZone(const ScanConfiguration &config, const FormOfZone &kind, int lie, bool *upright)
{
    const ZoneReading *turned = nullptr;
    for (const ZoneReading &z : config.zones) {
        const bool reads = std::any_of(kind.readingZones.begin(), kind.readingZones.end(),
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
    *upright = false;
    return turned;
}

} // namespace

PixelReading ReadPixelPage(const QImage &scanned, const ScanConfiguration &config)
{
    PixelReading out;
    const mrz::MrzResult r = mrz::ReadMrz(scanned);
    if (r.found)
        out.zoneFound = mrz::FormatName(r.format);
    const FormOfZone kind = FormOf(r);
    if (kind.form.isEmpty())
        return out;
    // The reader's turn makes the page upright; the page lies that much the other way.
    const int lie = NormalisedAngle(-r.turn);
    bool upright = false;
    const ZoneReading *zone = ReadingZone(config, kind, lie, &upright);
    if (!zone)
        return out;
    const bool passport = kind.form == "InoPas_MRZ";
    if (!upright && !passport)
        return out;
    out.form = kind.form;
    out.zone = zone->readingZone;
    const ZoneFieldTable table = passport ? PassportZoneFields(r) : InternalPassportZoneFields(r);
    for (const auto &[id, text] : table)
        out.fields[QByteArray(id)] = ZoneField(upright ? &r : nullptr, text);
    return out;
}

} // namespace scproxy
