#include "PixelPage.h"

#include "MrzReader.h"
#include "PrintedFormFields.h"
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

/// The host country's own passport, whose page prints what its zone holds in Cyrillic.
bool RussianPassportZone(const mrz::MrzResult &r)
{
    return r.found && r.format == mrz::Format::TD3 && r.fields.documentCode.value.startsWith(QLatin1Char('P'))
           && r.fields.issuingState.value == QLatin1String("RUS");
}

/// A form read from the page's print alone, through the configuration's
/// zone of that form when it reaches the page upright.
bool ReadPrintedForm(const QImage &page, const mrz::MrzResult &r, printed::DocumentKind kind, const QByteArray &form,
                     const QByteArray &readingZone, int lie, const ScanConfiguration &config, PixelReading *out)
{
    bool upright = false;
    const ZoneReading *zone = config.ZoneFor({readingZone}, lie, &upright);
    if (!zone || !upright)
        return false;
    const printed::PrintedReading reading = printed::ReadPrinted(page, kind, r.found ? &r : nullptr);
    if (!reading.documentFound)
        return false;
    out->form = form;
    out->zone = zone->readingZone;
    out->fields = FormFieldResults(PrintedFormFields(reading));
    return true;
}

} // namespace

PixelReading ReadPixelPage(const QImage &page, const mrz::MrzResult &r, const ScanConfiguration &config)
{
    PixelReading out;
    if (r.found)
        out.zoneFound = mrz::FormatName(r.format);
    // The reader's turn makes the page upright; the page lies that much the other way.
    const int lie = r.found ? NormalisedAngle(-r.turn) : 0;
    // A page without a zone may be a driving licence, told by its print.
    if (!r.found) {
        if (printed::RecogniseKind(page) == printed::DocumentKind::DrivingLicence)
            ReadPrintedForm(page, r, printed::DocumentKind::DrivingLicence, QByteArrayLiteral("DRVL"),
                            QByteArrayLiteral("ZoneOfDrivingLicenceRF"), lie, config, &out);
        return out;
    }
    // The host country's passport is its own form where the configuration
    // reads it and its print is found; else it is read by its zone alone.
    if (RussianPassportZone(r)
        && ReadPrintedForm(page, r, printed::DocumentKind::ForeignPassport, QByteArrayLiteral("InoPas1"),
                           QByteArrayLiteral("ZoneOfInoPassportRF"), lie, config, &out))
        return out;
    const FormOfZone kind = FormOf(r);
    if (kind.form.isEmpty())
        return out;
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
    // The internal passport's print holds what its zone does not (place of
    // birth, the issuing office), and is compared with what it does.
    if (!passport && upright)
        JoinPrintedFields(out.fields,
                          PrintedFormFields(printed::ReadPrinted(page, printed::DocumentKind::InternalPassport, &r)));
    return out;
}

} // namespace scproxy
