#pragma once
// The fields a zone holds, each with the positions of its characters in the
// zone text, so that a doubtful position marks the right symbol of a value.

#include "MrzFormat.h"

#include <QString>
#include <vector>

namespace mrz {

struct FieldText
{
    QString value;
    std::vector<int> positions; ///< zone position of each character of value; -1 for one the reader supplied
    /// The zone prints the field but leaves parts of it unknown (a date of
    /// birth without day or month): no value to take, and a doubtful field.
    bool doubtful = false;
};

struct Fields
{
    FieldText documentCode;
    FieldText issuingState;
    FieldText surname;
    FieldText givenNames;
    FieldText documentNumber;
    FieldText nationality;
    FieldText birthDate;  ///< YYMMDD as printed, fillers included
    FieldText sex;        ///< M, F, X or empty
    FieldText expiryDate; ///< YYMMDD as printed
    FieldText personalNumber; ///< optional data of line 2 (TD3, TD2) or line 1 (TD1)
    FieldText optionalData2;  ///< TD1 line 2 optional data
    // The Russian internal passport's zone only (its names are Cyrillic there,
    // its number the series and number as the page prints them):
    FieldText patronymic;
    FieldText issueDate;    ///< YYMMDD as printed
    FieldText divisionCode; ///< the issuing division, "770-001"
};

/// Named access, for tables that drive output from the field list.
struct FieldEntry
{
    const char *name;
    FieldText Fields::*member;
};
const std::vector<FieldEntry> &FieldTable();

/// Splits the zone text (lines joined without separator) of format f into its
/// fields; fillers become blanks inside names and are dropped at the ends
/// (the Russian internal passport: see ParseRusInternal).
Fields ParseFields(Format f, const QString &text);

/// A YYMMDD date as "dd.MM.yyyy". Birth dates lie in the past hundred years
/// relative to `today`; expiry dates in 1970..2069. Empty when the text is no
/// calendar date; empty and doubtful when the zone leaves parts of it unknown.
/// positions maps the result's digits back to the zone.
FieldText DisplayDate(const FieldText &yymmdd, bool birth, int currentYear);

} // namespace mrz
