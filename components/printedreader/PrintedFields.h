#pragma once
// The fields a document prints outside its machine-readable zone, named by
// their role: the reader, the specimen generator and the benchmark share
// these names, and each engine maps them onto its own field names.

#include <QString>
#include <QStringList>

#include <optional>

namespace printed {

/// The documents whose printed fields are read.
enum class DocumentKind
{
    InternalPassport, ///< the Russian internal passport's spread: issue page above, photo page below
    DrivingLicence,   ///< the front of the Russian driving licence (numbered fields 1 to 9)
    ForeignPassport,  ///< the photo page of the Russian foreign passport beside its zone
};

enum class Field
{
    Surname,           ///< Cyrillic, upper case
    GivenName,         ///< Cyrillic; on the licence the first word of field 2
    Patronymic,        ///< Cyrillic; on the licence the rest of field 2
    SurnameLatin,      ///< the licence's and the foreign passport's Latin line
    GivenNameLatin,    ///< the Latin given name (and the licence's Latin patronymic after a blank)
    Sex,               ///< as printed: "МУЖ."/"ЖЕН." (internal passport), "М"/"Ж" (foreign passport)
    BirthDate,         ///< dd.mm.yyyy
    BirthPlace,        ///< lines joined by one blank
    IssueDate,         ///< dd.mm.yyyy
    ExpiryDate,        ///< dd.mm.yyyy (licence, foreign passport)
    IssuedBy,          ///< lines joined by one blank
    DivisionCode,      ///< ddd-ddd (internal passport)
    Series,            ///< "45 03" (internal passport, licence), "75" (foreign passport)
    Number,            ///< "123456" (internal passport, licence), "1234567" (foreign passport)
    Nationality,       ///< foreign passport, Cyrillic line
    ResidencePlace,    ///< licence field 8
    Categories,        ///< licence field 9, categories separated by one blank
};

inline constexpr Field kAllFields[] = {
    Field::Surname,   Field::GivenName,  Field::Patronymic, Field::SurnameLatin, Field::GivenNameLatin, Field::Sex,
    Field::BirthDate, Field::BirthPlace, Field::IssueDate,  Field::ExpiryDate,   Field::IssuedBy,       Field::DivisionCode,
    Field::Series,    Field::Number,     Field::Nationality, Field::ResidencePlace, Field::Categories,
};

/// The field's name in descriptions and reports ("Surname", "BirthPlace", ...).
QString FieldName(Field f);
std::optional<Field> FieldByName(const QString &name);

QString KindName(DocumentKind k); ///< "InternalPassport", "DrivingLicence", "ForeignPassport"
std::optional<DocumentKind> KindByName(const QString &name);

/// The fields a document of this kind prints.
QList<Field> FieldsOf(DocumentKind k);

} // namespace printed
