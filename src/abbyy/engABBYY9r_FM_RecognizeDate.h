#pragma once
// How a date text delivered by the recognition engine becomes a date.
//
// The engine hands dates over as text, in the form the document prints them.
// Identity documents of the countries in the catalogue print the day first:
// "dd.MM.yyyy" on most pages, sometimes with slashes, hyphens or blanks
// between the parts; machine-readable and database sources give the ISO form
// "yyyy-MM-dd". They are read by the package's one date rule
// (base/DateText.h) with four-digit years only: two-digit years, month
// names, extra text and an empty text do not convert, and the caller then
// follows the failure branch of its date field. The rule does not depend on
// the user's locale, so the same document gives the same date on every
// workstation.

#include <QDate>
#include <QString>

namespace abbyy {

/// The date the engine's text names, or an invalid QDate when the text does
/// not convert by the rule above.
QDate DateFromEngineText(const QString &text);

} // namespace abbyy
