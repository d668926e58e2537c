#pragma once
// The one rule by which text becomes a date, for the engine's dates and for
// dates the operator types.
//
// Applied to the text with surrounding blanks removed:
//   1. "yyyy-MM-dd" (four-digit year first, hyphens) is read as year, month,
//      day.
//   2. Otherwise the text must be three groups of digits separated by exactly
//      one of ".", "/", "-" or a blank (the same separator both times), read
//      as day, month, year: day and month have one or two digits, the year
//      four (and, where two-digit years are taken, two).
//   3. The day, month and year must name a real calendar day (no 31 April,
//      29 February only in leap years), with a year from 1 to 9999.
// Anything else does not convert. The rule does not depend on the user's
// locale, so the same text gives the same date on every workstation.
//
// A two-digit year, where taken, lies in a window around today: from 80 years
// back to less than 20 years ahead ("15.04.31" typed in 2026 is 2031, "01.01.75"
// is 1975), which covers birth dates and the validity of documents alike.

#include <QDate>
#include <QString>

namespace dates {

enum class TwoDigitYears { Refused, InWindow };

/// The four-digit year a two-digit year (0..99) stands for in the window
/// around thisYear: from thisYear - 80 to thisYear + 19.
int YearInWindow(int twoDigitYear, int thisYear);

/// The date the text names by the rule above, or an invalid QDate.
QDate DateFromText(const QString &text, TwoDigitYears twoDigitYears, const QDate &today = QDate::currentDate());

} // namespace dates
