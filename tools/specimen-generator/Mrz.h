#pragma once
// Machine-readable zones of travel documents: check digits and the line
// layouts of passports (two lines of 44), TD2 documents (two of 36) and
// identity cards (three of 30).

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
    QString documentCode;   ///< "P" or "ID"
    QString issuingState;   ///< three letters
    QString surname;        ///< Latin
    QString givenNames;     ///< Latin, blank separated
    QString documentNumber; ///< up to 9 characters
    QString nationality;    ///< three letters
    QString birthDate;      ///< YYMMDD
    QString sex;            ///< "M", "F" or "<"
    QString expiryDate;     ///< YYMMDD
    QString optionalData;   ///< personal number or empty
};

/// The two 44-character lines of a passport.
QStringList PassportMrz(const MrzData &d);
/// The two 36-character lines of a TD2 card or travel document.
QStringList Td2Mrz(const MrzData &d);
/// The three 30-character lines of an identity card.
QStringList IdCardMrz(const MrzData &d);

} // namespace specimens
