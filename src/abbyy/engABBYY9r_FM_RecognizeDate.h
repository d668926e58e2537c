#pragma once
// How a date text delivered by the recognition engine becomes a date.
//
// The engine hands dates over as text, in the form the document prints them.
// Identity documents of the countries in the catalogue print the day first:
// "dd.MM.yyyy" on most pages, sometimes with slashes, hyphens or blanks
// between the parts; machine-readable and database sources give the ISO form
// "yyyy-MM-dd". The one rule, applied to the text with surrounding blanks
// removed:
//
//   1. "yyyy-MM-dd" (four-digit year first, hyphens) is read as year, month,
//      day.
//   2. Otherwise the text must be three groups of digits separated by exactly
//      one of ".", "/", "-" or a blank (the same separator both times), read
//      as day, month, year: day and month have one or two digits, the year
//      exactly four.
//   3. The day, month and year must name a real calendar day (no 31 April,
//      29 February only in leap years), with a year from 1 to 9999.
//
// Anything else (two-digit years, month names, extra text, an empty text) does
// not convert: the caller then follows the failure branch of its date field.
// The rule does not depend on the user's locale, so the same document gives
// the same date on every workstation.

#include <QDate>
#include <QString>

namespace abbyy {

/// The date the engine's text names, or an invalid QDate when the text does
/// not convert by the rule above.
QDate DateFromEngineText(const QString &text);

} // namespace abbyy
