#include "ZoneFields.h"

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

ZoneFieldTable PassportZoneFields(const mrz::MrzResult &r)
{
    const mrz::Fields &z = r.fields;
    const int year = QDate::currentDate().year();
    return {
        {"IN_SurName", z.surname},
        {"IN_Name", z.givenNames},
        {"IN_SerNum", z.documentNumber},
        {"IN_BirthDate", r.found ? mrz::DisplayDate(z.birthDate, true, year) : mrz::FieldText{}},
        {"IN_Sex", z.sex},
        {"IN_Expiry", r.found ? mrz::DisplayDate(z.expiryDate, false, year) : mrz::FieldText{}},
        {"IN_KOD", z.nationality},
    };
}

ZoneFieldTable InternalPassportZoneFields(const mrz::MrzResult &r)
{
    const mrz::Fields &z = r.fields;
    const int year = QDate::currentDate().year();
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

engine::FieldResult ZoneField(const mrz::MrzResult *r, const mrz::FieldText &text)
{
    engine::FieldResult out;
    if (!r || !r->found) {
        out.flags = SCF_VRS_ERROR;
        return out;
    }
    const mrz::MrzResult::FieldMarks marks = r->Marks(text);
    out.value = text.value.toLocal8Bit();
    out.flags = (marks.doubt ? SCF_VRS_WARNING : 0) | (marks.error ? SCF_VRS_ERROR : 0);
    return out;
}

void ReadZoneFields(const QImage &scanned, int turn, const ScanifySpecimen &s,
                    std::map<QByteArray, engine::FieldResult> &fields)
{
    // The zone reads the page as its turn leaves it; it does not turn it again.
    mrz::ReadOptions upright;
    upright.anyTurn = false;
    const mrz::MrzResult r = mrz::ReadMrz(scanned.transformed(QTransform().rotate(turn)), upright);
    // A turn that leaves the zone on its side or upside down reads nothing of
    // it: the zone's fields come back empty and in error, whatever the
    // description says, so the offer to scan again follows the zone.
    for (const auto &entry : PassportZoneFields(r)) {
        // Named apart: clang 14 does not let a lambda capture a structured binding.
        const char *id = entry.first;
        if (std::none_of(s.fields.begin(), s.fields.end(), [&](const SpecimenField &f) { return f.id == id; }))
            continue;
        fields[QByteArray(id)] = ZoneField(&r, entry.second);
    }
}

} // namespace scproxy
