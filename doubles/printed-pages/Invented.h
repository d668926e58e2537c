#pragma once
// Invented people and the documents issued to them: Cyrillic names built
// from syllables, places, issuing offices, numbers and dates that agree with
// one another (issue after birth, expiry ten years after issue). Nothing here
// belongs to anybody.

#include "PrintedFields.h"

#include <QDate>
#include <QString>

namespace mrzpages {
class Random;
}

namespace printedpages {

/// The Latin spelling Russian passports print: Ж ZH, Х KH, Ц TS, Ч CH,
/// Ш SH, Щ SHCH, Ы Y, Ъ IE, Ь dropped, Й I, Ю IU, Я IA, Е and Ё E; what is
/// not a Cyrillic letter (blanks, hyphens, full stops, digits) stays.
QString PassportLatin(const QString &cyrillic);

/// A date as documents print it: dd.mm.yyyy.
QString PrintedDate(const QDate &d);
/// A date as zones hold it: YYMMDD.
QString ZoneDate(const QDate &d);

struct Person
{
    QString surname, givenName, patronymic; ///< Cyrillic capitals
    bool male = true;
    QDate birth;
    QString birthPlace; ///< "ГОР. ...", "С. ... ОБЛ.": one text, wrapped where it is printed
};

/// Everything one document states, its printed texts by field.
struct Issued
{
    printed::DocumentKind kind = printed::DocumentKind::InternalPassport;
    Person person;
    QDate issue, expiry; ///< expiry invalid where the document has none
    QString issuedBy, issuedByLatin;
    QString divisionCode;    ///< "ddd-ddd"
    QString series, number;  ///< as printed: "45 03" and "123456"; "75" and "1234567"
    QString residence, residenceLatin;
    QString categories;      ///< "B B1 M"
    QString birthPlaceLatin;
};

Person RandomPerson(mrzpages::Random &rng, int minAge);
Issued RandomIssued(printed::DocumentKind kind, mrzpages::Random &rng);

} // namespace printedpages
