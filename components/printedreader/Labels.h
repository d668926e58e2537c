#pragma once
// The printed labels of each document and their fuzzy matching: OCR slips a
// letter or two of a small label, mixes the scripts of look-alike letters and
// drops or adds punctuation, and a label must still be found.

#include "PrintedFields.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace printed {

/// What a label introduces: one field, or a group the reader splits (the
/// licence prints given name and patronymic under "2.", birth date and place
/// under "3.", series and number under "5.").
enum class LabelRole
{
    Surname, GivenName, Patronymic, Sex, BirthDate, BirthPlace, IssuedBy, IssueDate, DivisionCode, SeriesNumber,
    Nationality, ExpiryDate, PassportNumber, ResidencePlace, Categories,
    LicenceNames,      ///< licence "2.": given name and patronymic
    LicenceBirth,      ///< licence "3.": birth date and place
    Other,             ///< a label of the document that introduces no field read here (stops the value above it)
};

struct LabelText
{
    LabelRole role;
    QStringList variants; ///< the ways documents print it
};

/// The labels a document of this kind prints.
const std::vector<LabelText> &LabelsOf(DocumentKind kind);

/// The text a label is compared in: lower case, one script for look-alike
/// letters, no punctuation or blanks.
QString LabelKey(const QString &text);

/// How far a reading is from a label, 0 (the same) .. 1 (nothing alike):
/// edit distance of the keys relative to the label's length.
double LabelDistance(const QString &reading, const QString &label);

/// Whether a reading is the label, tolerant to OCR slips (short labels must
/// match exactly, longer ones may differ in about one letter in five).
bool MatchesLabel(const QString &reading, const QString &label);

/// The licence's field numbers ("1.", "4a)", "4b)"): the number and letter of
/// a reading that is one, else empty.
QString LicenceNumber(const QString &reading);

} // namespace printed
