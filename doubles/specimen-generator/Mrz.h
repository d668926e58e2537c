#pragma once
// Machine-readable zones of travel documents: check digits and the line
// layouts of passports (two lines of 44), TD2 documents (two of 36),
// identity cards (three of 30), visas (two of 44 or 36) and the Russian
// internal passport (two of 44, its Cyrillic names in Latin letters and digits).

#include <QString>
#include <QStringList>

namespace specimens {

/// Check digit of an MRZ field: weights 7, 3, 1; digits count as themselves,
/// letters A..Z as 10..35, the filler '<' as 0.
int MrzCheckDigit(const QString &field);

/// Pads or cuts text to width with '<'; blanks and hyphens become '<'.
QString MrzField(const QString &text, int width);

struct MrzData
{
    QString documentCode;   ///< "P", "ID", "V", "PN"...
    QString issuingState;   ///< three letters
    QString surname;        ///< Latin; Cyrillic for the Russian internal passport
    QString givenNames;     ///< Latin, blank separated; Cyrillic for the internal passport
    QString documentNumber; ///< up to 9 characters; the internal passport's series and number: 10 digits
    QString nationality;    ///< three letters
    QString birthDate;      ///< YYMMDD
    QString sex;            ///< "M", "F" or "<"
    QString expiryDate;     ///< YYMMDD
    QString optionalData;   ///< personal number or empty
    // The Russian internal passport only (initialised, so that the documents
    // that list the other members need not name these):
    QString patronymic = {};   ///< Cyrillic
    QString issueDate = {};    ///< YYMMDD
    QString divisionCode = {}; ///< six digits
};

/// The two 44-character lines of a passport.
QStringList PassportMrz(const MrzData &d);
/// The two 36-character lines of a TD2 card or travel document.
QStringList Td2Mrz(const MrzData &d);
/// The three 30-character lines of an identity card.
QStringList IdCardMrz(const MrzData &d);
/// The two lines of a visa, 44 (MRV-A) or 36 (MRV-B) characters long.
QStringList VisaMrz(const MrzData &d, int width);

/// A Cyrillic capital in the internal passport's zone; 0 when it has none.
char RussianZoneLetter(QChar cyrillic);
/// The internal passport's names as its zone holds them (39 characters:
/// surname, "<<", given name, "<", patronymic; parts of double names joined
/// by one filler), cut at the line's end.
QString RussianZoneNames(const MrzData &d);
/// The two 44-character lines of the Russian internal passport.
QStringList RussianInternalMrz(const MrzData &d);

} // namespace specimens
