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

} // namespace

PixelReading ReadPixelPage(const mrz::MrzResult &r, const ScanConfiguration &config)
{
    PixelReading out;
    if (r.found)
        out.zoneFound = mrz::FormatName(r.format);
    const FormOfZone kind = FormOf(r);
    if (kind.form.isEmpty())
        return out;
    // The reader's turn makes the page upright; the page lies that much the other way.
    const int lie = NormalisedAngle(-r.turn);
    bool upright = false;
    const ZoneReading *zone = config.ZoneFor(kind.readingZones, lie, &upright);
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
