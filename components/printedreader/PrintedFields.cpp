#include "PrintedFields.h"

#include <utility>

namespace printed {

namespace {

const std::pair<Field, const char *> kFieldNames[] = {
    {Field::Surname, "Surname"},
    {Field::GivenName, "GivenName"},
    {Field::Patronymic, "Patronymic"},
    {Field::SurnameLatin, "SurnameLatin"},
    {Field::GivenNameLatin, "GivenNameLatin"},
    {Field::Sex, "Sex"},
    {Field::BirthDate, "BirthDate"},
    {Field::BirthPlace, "BirthPlace"},
    {Field::IssueDate, "IssueDate"},
    {Field::ExpiryDate, "ExpiryDate"},
    {Field::IssuedBy, "IssuedBy"},
    {Field::DivisionCode, "DivisionCode"},
    {Field::Series, "Series"},
    {Field::Number, "Number"},
    {Field::Nationality, "Nationality"},
    {Field::ResidencePlace, "ResidencePlace"},
    {Field::Categories, "Categories"},
};

const std::pair<DocumentKind, const char *> kKindNames[] = {
    {DocumentKind::InternalPassport, "InternalPassport"},
    {DocumentKind::DrivingLicence, "DrivingLicence"},
    {DocumentKind::ForeignPassport, "ForeignPassport"},
};

template <typename Key, std::size_t N>
QString NameOf(const std::pair<Key, const char *> (&table)[N], Key key)
{
    for (const auto &[k, name] : table)
        if (k == key)
            return QString::fromLatin1(name);
    return {};
}

template <typename Key, std::size_t N>
std::optional<Key> KeyOf(const std::pair<Key, const char *> (&table)[N], const QString &name)
{
    for (const auto &[k, n] : table)
        if (name == QLatin1String(n))
            return k;
    return std::nullopt;
}

} // namespace

QString FieldName(Field f) { return NameOf(kFieldNames, f); }
std::optional<Field> FieldByName(const QString &name) { return KeyOf(kFieldNames, name); }
QString KindName(DocumentKind k) { return NameOf(kKindNames, k); }
std::optional<DocumentKind> KindByName(const QString &name) { return KeyOf(kKindNames, name); }

QList<Field> FieldsOf(DocumentKind k)
{
    switch (k) {
    case DocumentKind::InternalPassport:
        return {Field::IssuedBy,  Field::IssueDate, Field::DivisionCode, Field::Series,     Field::Number, Field::Surname,
                Field::GivenName, Field::Patronymic, Field::Sex,         Field::BirthDate,  Field::BirthPlace};
    case DocumentKind::DrivingLicence:
        return {Field::Surname,    Field::SurnameLatin, Field::GivenName,  Field::Patronymic, Field::GivenNameLatin,
                Field::BirthDate,  Field::BirthPlace,   Field::IssueDate,  Field::ExpiryDate, Field::IssuedBy,
                Field::Series,     Field::Number,       Field::ResidencePlace, Field::Categories};
    case DocumentKind::ForeignPassport:
        return {Field::Surname,   Field::SurnameLatin, Field::GivenName,  Field::GivenNameLatin, Field::Nationality,
                Field::BirthDate, Field::Sex,          Field::BirthPlace, Field::IssueDate,      Field::ExpiryDate,
                Field::IssuedBy,  Field::Series,       Field::Number};
    }
    return {};
}

} // namespace printed
