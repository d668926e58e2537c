#include "ZoneFields.h"

#include "MrzReader.h"
#include "RussianPassport.h"

#include <QDate>
#include <QTransform>

#include <algorithm>
#include <string_view>

namespace scproxy {

bool ReadsFromZone(const ScanifySpecimen &s)
{
    return s.formId == "InoPas_MRZ";
}

namespace {

using FieldTable = std::vector<std::pair<const char *, mrz::FieldText>>;

// The internal passport's form: Cyrillic names, series and number apart as
// its page prints them, the date and division of issue.
FieldTable InternalPassportFields(const mrz::Fields &z, int year)
{
    return {
        {"PP_SurName", z.surname},
        {"PP_Name", z.givenNames},
        {"PP_SecName", z.patronymic},
        {"PP_Sex", mrz::PrintedSex(z.sex)},
        {"PP_BirthDate", mrz::DisplayDate(z.birthDate, true, year)},
        {"PP_Ser2", mrz::SeriesOf(z.documentNumber)},
        {"PP_Num2", mrz::NumberOf(z.documentNumber)},
        {"PP_Date", mrz::DisplayDate(z.issueDate, true, year)},
        {"PP_Podr", z.divisionCode},
    };
}

} // namespace

QByteArray ReadZoneFields(const QImage &scanned, int turn, const ScanifySpecimen &s,
                          std::map<QByteArray, engine::FieldResult> &fields)
{
    // The zone reads the page as its turn leaves it; it does not turn it again.
    mrz::ReadOptions upright;
    upright.anyTurn = false;
    const mrz::MrzResult r = mrz::ReadMrz(scanned.transformed(QTransform().rotate(turn)), upright);
    // A turn that leaves the zone on its side or upside down reads nothing of
    // it: the zone's fields come back empty and in error, whatever the
    // description says, so the offer to scan again follows the zone.
    const mrz::Fields &z = r.fields;
    const int year = QDate::currentDate().year();
    // A page without a description whose zone is an internal passport's is that form's page.
    const bool internal = !s.described && r.found && r.format == mrz::Format::RusInternal;
    const FieldTable table = internal ? InternalPassportFields(z, year) : FieldTable{
        {"IN_SurName", z.surname},
        {"IN_Name", z.givenNames},
        {"IN_SerNum", z.documentNumber},
        {"IN_BirthDate", r.found ? mrz::DisplayDate(z.birthDate, true, year) : mrz::FieldText{}},
        {"IN_Sex", z.sex},
        {"IN_Expiry", r.found ? mrz::DisplayDate(z.expiryDate, false, year) : mrz::FieldText{}},
        {"IN_KOD", z.nationality},
        // The zone names countries by code only: a description's country name
        // stands; a page without one gets the issuing state's code.
        {"IN_CNT", z.issuingState},
    };
    for (const auto &entry : table) {
        // Named apart: clang 14 does not let a lambda capture a structured binding.
        const char *id = entry.first;
        const mrz::FieldText &text = entry.second;
        if (s.described && std::string_view(id) == "IN_CNT")
            continue;
        const bool listed = !s.described
                            || std::any_of(s.fields.begin(), s.fields.end(), [&](const SpecimenField &f) { return f.id == id; });
        if (!listed)
            continue;
        engine::FieldResult &out = fields[QByteArray(id)];
        if (!r.found) {
            out.value.clear();
            out.flags = SCF_VRS_ERROR;
            continue;
        }
        const mrz::MrzResult::FieldMarks marks = r.Marks(text);
        out.value = text.value.toLocal8Bit();
        out.flags = (marks.doubt ? SCF_VRS_WARNING : 0) | (marks.error ? SCF_VRS_ERROR : 0);
    }
    if (internal)
        return QByteArrayLiteral("Passport1");
    return r.found && r.format == mrz::Format::TD3 ? QByteArrayLiteral("InoPas_MRZ") : QByteArray();
}

} // namespace scproxy
