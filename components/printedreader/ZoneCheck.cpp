#include "ZoneCheck.h"

#include "MrzReader.h"
#include "RussianPassport.h"

#include <QDate>

namespace printed {

namespace {

ZoneValue From(const mrz::MrzResult &zone, const mrz::FieldText &f)
{
    ZoneValue v;
    v.value = f.value.trimmed();
    const auto marks = zone.Marks(f);
    v.trusted = !v.value.isEmpty() && !f.doubtful && !marks.doubt && !marks.error;
    return v;
}

// The zone has no Ё: its Е stands for both.
QString Comparable(QString s)
{
    s.replace(u'Ё', u'Е');
    return s.simplified();
}

} // namespace

std::map<Field, ZoneValue> ZoneValues(DocumentKind kind, const mrz::MrzResult &zone)
{
    std::map<Field, ZoneValue> out;
    if (!zone.found)
        return out;
    const mrz::Fields &f = zone.fields;
    const int year = QDate::currentDate().year();
    auto put = [&](Field field, const mrz::FieldText &text) {
        ZoneValue v = From(zone, text);
        if (!v.value.isEmpty())
            out[field] = v;
    };
    if (kind == DocumentKind::InternalPassport && zone.format == mrz::Format::RusInternal) {
        put(Field::Surname, f.surname);
        put(Field::GivenName, f.givenNames);
        put(Field::Patronymic, f.patronymic);
        put(Field::BirthDate, mrz::DisplayDate(f.birthDate, true, year));
        put(Field::Sex, mrz::PrintedSex(f.sex));
        put(Field::Series, mrz::SeriesOf(f.documentNumber));
        put(Field::Number, mrz::NumberOf(f.documentNumber));
        put(Field::IssueDate, mrz::DisplayDate(f.issueDate, true, year));
        put(Field::DivisionCode, f.divisionCode);
    } else if (kind == DocumentKind::ForeignPassport && zone.format == mrz::Format::TD3) {
        put(Field::SurnameLatin, f.surname);
        put(Field::GivenNameLatin, f.givenNames);
        put(Field::BirthDate, mrz::DisplayDate(f.birthDate, true, year));
        put(Field::ExpiryDate, mrz::DisplayDate(f.expiryDate, false, year));
        // The page prints the sex in Cyrillic.
        mrz::FieldText sex = f.sex;
        sex.value = sex.value == QLatin1String("M") ? QStringLiteral("М")
                    : sex.value == QLatin1String("F") ? QStringLiteral("Ж")
                                                       : QString();
        put(Field::Sex, sex);
        // Series (two digits) and number (seven) run together in the zone.
        const mrz::FieldText &number = f.documentNumber;
        if (number.value.size() == 9) {
            mrz::FieldText series, rest;
            series.value = number.value.left(2);
            rest.value = number.value.mid(2);
            for (int i = 0; i < 9 && i < int(number.positions.size()); ++i)
                (i < 2 ? series : rest).positions.push_back(number.positions[i]);
            put(Field::Series, series);
            put(Field::Number, rest);
        }
    }
    return out;
}

void CrossCheck(DocumentKind kind, const mrz::MrzResult &zone, std::map<Field, PrintedText> *fields)
{
    for (const auto &[field, z] : ZoneValues(kind, zone)) {
        auto it = fields->find(field);
        if (it == fields->end()) {
            if (!z.trusted)
                continue;
            PrintedText t;
            t.lines = QStringList{z.value};
            t.confidence.assign(z.value.size(), 1.0f);
            // Nothing printed to differ from: the zone's value, as sure as the zone.
            t.fromZone = true;
            (*fields)[field] = t;
            continue;
        }
        PrintedText &t = it->second;
        if (Comparable(t.Value()) == Comparable(z.value))
            continue;
        t.doubtful = true;
        if (z.trusted) {
            t.lines = QStringList{z.value};
            t.confidence.assign(z.value.size(), 1.0f);
            t.fromZone = true;
        }
    }
}

} // namespace printed
