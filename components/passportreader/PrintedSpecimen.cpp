#include "PrintedSpecimen.h"

#include "PrintedReader.h"

#include <algorithm>
#include <optional>

namespace passportreader {

namespace {

using printed::DocumentKind;
using printed::Field;

struct EngineField
{
    Field field;
    const char *name;
    /// The zone holds the field written otherwise (Latin names, series and
    /// number as one, sex in Latin): the print gives it.
    bool zoneWritesOtherwise = false;
};

std::optional<DocumentKind> KindOf(const QString &documentType)
{
    if (documentType == QLatin1String("Passport_RU"))
        return DocumentKind::InternalPassport;
    if (documentType == QLatin1String("ForeignPassport_RU"))
        return DocumentKind::ForeignPassport;
    if (documentType == QLatin1String("DriverLicense_RU"))
        return DocumentKind::DrivingLicence;
    return std::nullopt;
}

/// The engine's names of the printed fields of each document.
std::vector<EngineField> NamesOf(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::InternalPassport:
        return {{Field::Surname, "LastName"},       {Field::GivenName, "FirstName"},  {Field::Patronymic, "MiddleName"},
                {Field::Series, "Series"},          {Field::Number, "Number"},        {Field::Sex, "Sex"},
                {Field::BirthDate, "DateOfBirth"},  {Field::BirthPlace, "PlaceOfBirth"}, {Field::IssueDate, "DateOfIssue"},
                {Field::IssuedBy, "IssuedBy"},      {Field::DivisionCode, "DepartmentCode"}};
    case DocumentKind::ForeignPassport:
        return {{Field::Surname, "LastName", true},      {Field::SurnameLatin, "LastName_EX"},
                {Field::GivenName, "FirstName", true},   {Field::GivenNameLatin, "FirstName_EX"},
                {Field::Series, "Series"},               {Field::Number, "Number", true},
                {Field::Sex, "Sex", true},               {Field::BirthDate, "DateOfBirth"},
                {Field::BirthPlace, "PlaceOfBirth"},     {Field::IssueDate, "DateOfIssue"},
                {Field::ExpiryDate, "DateOfExpiry"},     {Field::IssuedBy, "IssuedBy"}};
    case DocumentKind::DrivingLicence:
        return {{Field::Surname, "LastName"},         {Field::SurnameLatin, "LastName_EX"}, {Field::GivenName, "FirstName"},
                {Field::Patronymic, "MiddleName"},    {Field::BirthDate, "DateOfBirth"},    {Field::BirthPlace, "PlaceOfBirth"},
                {Field::IssueDate, "DateOfIssue"},    {Field::ExpiryDate, "DateOfExpiry"},  {Field::IssuedBy, "IssuedBy"},
                {Field::Series, "Series"},            {Field::Number, "Number"}};
    }
    return {};
}

// Below this a symbol is not one the engine would vouch for.
constexpr float kTrustedConfidence = 0.6f;

/// The engine returns a value printed over several lines with its line breaks.
QString EngineValue(const printed::PrintedText &t)
{
    return t.lines.join(QStringLiteral("\r\n"));
}

SpecimenField PrintedField(const QString &name, const printed::PrintedText &t)
{
    SpecimenField f;
    f.name = name;
    f.value = EngineValue(t);
    f.zone = t.box;
    // Confidence is per symbol of the lines joined by one blank; a line break
    // of two symbols shifts the symbols after it by one.
    int shift = 0;
    for (int i = 0; i < f.value.size(); ++i) {
        if (f.value[i] == QLatin1Char('\n')) {
            ++shift;
            if (t.doubtful)
                f.untrusted.append(i);
            continue;
        }
        const int source = i - shift;
        const bool low = source < int(t.confidence.size()) && t.confidence[std::size_t(source)] < kTrustedConfidence;
        if (t.doubtful || low)
            f.untrusted.append(i);
    }
    return f;
}

SpecimenField *FieldNamed(Specimen &s, const QString &name)
{
    const auto it = std::find_if(s.fields.begin(), s.fields.end(), [&](const SpecimenField &f) { return f.name == name; });
    return it == s.fields.end() ? nullptr : &*it;
}

} // namespace

std::shared_ptr<const Specimen> WithPrintedFields(std::shared_ptr<Specimen> fromZone, const mrz::MrzResult &zone,
                                                  const QImage &page, const QString &documentType)
{
    const std::optional<DocumentKind> kind = KindOf(documentType);
    // A zone of another document is a page of another document type,
    // whatever its print says; a passport's page shows its zone (their
    // labels alone are much alike), only the licence has none.
    if (!kind || (zone.found && !fromZone) || (!zone.found && *kind != DocumentKind::DrivingLicence))
        return fromZone;
    return JoinPrinted(std::move(fromZone), printed::ReadPrinted(page, *kind, zone.found ? &zone : nullptr), documentType);
}

std::shared_ptr<Specimen> JoinPrinted(std::shared_ptr<Specimen> fromZone, const printed::PrintedReading &reading,
                                      const QString &documentType)
{
    if (!reading.documentFound)
        return fromZone;
    auto s = fromZone ? std::move(fromZone) : std::make_shared<Specimen>();
    s->documentType = documentType;
    for (const EngineField &name : NamesOf(reading.kind)) {
        const auto it = reading.fields.find(name.field);
        if (it == reading.fields.end())
            continue;
        const QString engineName = QString::fromLatin1(name.name);
        SpecimenField read = PrintedField(engineName, it->second);
        SpecimenField *present = FieldNamed(*s, engineName);
        if (!present) {
            read.id = QString::number(s->fields.size() + 1);
            s->fields.push_back(read);
            continue;
        }
        // The zone writes some fields otherwise (a foreign passport's names in
        // Latin, its series and number as one): the print gives those.
        if (name.zoneWritesOtherwise) {
            read.id = present->id;
            *present = read;
            continue;
        }
        // The zone's reading of a field it holds as printed keeps its own
        // marks; where the print differs, the zone's value stands, doubtful.
        if (present->value != read.value || (it->second.fromZone && it->second.doubtful))
            for (int i = 0; i < present->value.size(); ++i)
                if (!present->untrusted.contains(i))
                    present->untrusted.append(i);
    }
    return s;
}

} // namespace passportreader
