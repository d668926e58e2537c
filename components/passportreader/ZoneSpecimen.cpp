#include "ZoneSpecimen.h"

#include "MrzReader.h"
#include "RussianPassport.h"

#include <QDate>

namespace passportreader {

const QStringList &TypesWithZone()
{
    // Every passport and identity card of the catalogue carries a zone;
    // the driving licences and the birth certificate carry none.
    static const QStringList types = {
        QStringLiteral("Passport_RU"),        QStringLiteral("ForeignPassport_RU"), QStringLiteral("ForeignPassport_MRZ"),
        QStringLiteral("ForeignPassport_AZ"), QStringLiteral("ID_AZ"),              QStringLiteral("Passport_BY"),
        QStringLiteral("ForeignPassport_BY"), QStringLiteral("ForeignPassport_KZ"), QStringLiteral("ID_KZ"),
        QStringLiteral("ID_KG"),              QStringLiteral("Passport_TJ"),        QStringLiteral("ForeignPassport_TJ"),
        QStringLiteral("Passport_UZ"),        QStringLiteral("ForeignPassport_UZ"), QStringLiteral("ForeignPassport_UA"),
    };
    return types;
}

bool TypeHasZone(const QString &documentType)
{
    return TypesWithZone().contains(documentType);
}

namespace {

SpecimenField Field(const mrz::MrzResult &r, const QString &name, const mrz::FieldText &text)
{
    SpecimenField f;
    f.name = name;
    f.value = text.value;
    // A date the zone leaves partly unknown is found but cannot be read.
    f.found = !text.value.isEmpty() || text.doubtful;
    for (int i = 0; i < text.value.size(); ++i)
        if (!r.Trusted(text, i))
            f.untrusted.append(i);
    return f;
}

// The part of a field before its first blank, or after it.
mrz::FieldText Word(const mrz::FieldText &t, bool first)
{
    const int blank = t.value.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        // Names the line may have cut may have lost the second given name too.
        mrz::FieldText none;
        none.doubtful = t.doubtful;
        return first ? t : none;
    }
    const int from = first ? 0 : blank + 1;
    const int to = first ? blank : int(t.value.size());
    return {t.value.mid(from, to - from), std::vector<int>(t.positions.begin() + from, t.positions.begin() + to)};
}

using FieldTable = std::vector<std::pair<const char *, mrz::FieldText>>;

// A passport's or card's zone holds Latin names only: they are the names and their Latin variants.
FieldTable TravelDocumentFields(const mrz::Fields &z, int year)
{
    const mrz::FieldText first = Word(z.givenNames, true), middle = Word(z.givenNames, false);
    return {
        {"LastName", z.surname},
        {"LastName_EX", z.surname},
        {"FirstName", first},
        {"FirstName_EX", first},
        {"MiddleName", middle},
        {"MiddleName_EX", middle},
        {"Number", z.documentNumber},
        {"Nationality", z.nationality},
        {"Sex", z.sex},
        {"DateOfBirth", mrz::DisplayDate(z.birthDate, true, year)},
        {"DateOfExpiry", mrz::DisplayDate(z.expiryDate, false, year)},
        {"PersonalCode", z.personalNumber},
    };
}

// The internal passport's zone writes the Cyrillic names, and holds what its
// page prints in red (series and number) and the date and division of issue.
FieldTable InternalPassportFields(const mrz::Fields &z, int year)
{
    return {
        {"LastName", z.surname},
        {"FirstName", z.givenNames},
        {"MiddleName", z.patronymic},
        {"Series", mrz::SeriesOf(z.documentNumber)},
        {"Number", mrz::NumberOf(z.documentNumber)},
        {"Sex", mrz::PrintedSex(z.sex)},
        {"DateOfBirth", mrz::DisplayDate(z.birthDate, true, year)},
        {"DateOfIssue", mrz::DisplayDate(z.issueDate, true, year)},
        {"DepartmentCode", z.divisionCode},
    };
}

mrz::Format ZoneFormatOf(const QString &documentType)
{
    if (documentType.startsWith(QLatin1String("ID_")))
        return mrz::Format::TD1;
    if (documentType == QLatin1String("Passport_RU"))
        return mrz::Format::RusInternal;
    return mrz::Format::TD3;
}

/// The state a document type belongs to by its name's ending ("_RU": RUS);
/// empty for a type of any state.
QString StateOf(const QString &documentType)
{
    static const std::pair<const char *, const char *> states[] = {{"_RU", "RUS"}, {"_AZ", "AZE"}, {"_BY", "BLR"}, {"_KZ", "KAZ"},
                                                                   {"_KG", "KGZ"}, {"_TJ", "TJK"}, {"_UZ", "UZB"}, {"_UA", "UKR"}};
    for (const auto &[ending, state] : states)
        if (documentType.endsWith(QLatin1String(ending)))
            return QString::fromLatin1(state);
    return {};
}

/// An identity card's document code ("I", "A" or "C" and a letter of the state's choosing).
bool IsCardCode(const QString &code)
{
    return code.startsWith(QLatin1Char('I')) || code.startsWith(QLatin1Char('A')) || code.startsWith(QLatin1Char('C'));
}

/// Whether the zone is one of the document type's own: its layout, a
/// passport's or a card's document code, and the type's state. A zone of
/// another document is never forced into the type the operator chose.
bool ZoneIsOfType(const mrz::MrzResult &r, const QString &documentType)
{
    if (!r.found)
        return false;
    const QString code = r.fields.documentCode.value;
    // The type of any travel document: a passport or an identity card of any
    // layout, never a visa (no document of its holder) nor the internal
    // passport (a type of its own).
    if (documentType == QLatin1String("ForeignPassport_MRZ")) {
        const bool passport = (r.format == mrz::Format::TD3 || r.format == mrz::Format::TD2) && code.startsWith(QLatin1Char('P'));
        const bool card = (r.format == mrz::Format::TD1 || r.format == mrz::Format::TD2) && IsCardCode(code);
        return passport || card;
    }
    const mrz::Format expected = ZoneFormatOf(documentType);
    if (r.format != expected)
        return false;
    if (expected == mrz::Format::TD3 && !code.startsWith(QLatin1Char('P')))
        return false;
    if (expected == mrz::Format::TD1 && !IsCardCode(code))
        return false;
    const QString state = StateOf(documentType);
    return state.isEmpty() || r.fields.issuingState.value == state;
}

} // namespace

mrz::MrzResult ReadZoneFor(const QImage &page, const QString &documentType)
{
    if (!TypeHasZone(documentType))
        return {};
    return mrz::ReadMrz(page);
}

std::shared_ptr<const Specimen> SpecimenFromZone(const QImage &page, const QString &documentType, QString *zoneFound)
{
    const mrz::MrzResult r = ReadZoneFor(page, documentType);
    if (zoneFound)
        *zoneFound = r.found ? mrz::FormatName(r.format) : QString();
    return SpecimenFromZoneReading(r, documentType);
}

std::shared_ptr<Specimen> SpecimenFromZoneReading(const mrz::MrzResult &r, const QString &documentType)
{
    // Identity cards carry three rows of 30, passports two of 44, the internal
    // passport's its own code: a zone of another kind (a visa among them), or
    // of another state's document, is a page of another document type.
    if (!TypeHasZone(documentType) || !ZoneIsOfType(r, documentType))
        return nullptr;
    const mrz::Format expected = r.format;
    auto s = std::make_shared<Specimen>();
    s->documentType = documentType;
    const int year = QDate::currentDate().year();
    const FieldTable table = expected == mrz::Format::RusInternal ? InternalPassportFields(r.fields, year)
                                                                  : TravelDocumentFields(r.fields, year);
    for (const auto &[name, text] : table) {
        // A field the zone leaves out (no second given name, no personal
        // number, sex unspecified) is none of the document's: listed, it
        // would show as one found but not read.
        if (text.value.isEmpty() && !text.doubtful)
            continue;
        s->fields.push_back(Field(r, QString::fromLatin1(name), text));
        s->fields.back().id = QString::number(s->fields.size());
    }
    return s;
}

} // namespace passportreader
