#pragma once
// The Russian internal passport's zone: the Latin letters and digits that
// stand for the Cyrillic letters of its names, and the fields of its line 2
// (series and number as the page prints them, date of issue, issuing division).

#include "MrzFields.h"

#include <QChar>
#include <QString>
#include <QStringView>

namespace mrz {

/// The Cyrillic capital a zone symbol of the names stands for; a null QChar
/// for the filler and for symbols that stand for none.
QChar CyrillicLetter(char symbol);
/// The zone symbol of a Cyrillic capital; 0 when the zone cannot write it.
char ZoneSymbol(QChar cyrillic);
/// Whether the names of this zone may hold the symbol: a letter that stands
/// for a Cyrillic one (digits among them) or the filler.
bool IsCyrillicNameSymbol(char symbol);

/// Cyrillic text as the zone writes it: blanks and hyphens become the filler;
/// empty when a character has no zone symbol.
QString ToZoneNames(QStringView cyrillic);
/// Zone names back to Cyrillic, fillers to hyphens (the text of one name part).
QString FromZoneNames(QStringView zone);

/// Fills the fields of a Russian internal passport's zone text (2 x 44):
/// Cyrillic surname, given name and patronymic, the series and number as
/// "45 03 123456", birth, sex, the date of issue (YYMMDD) and the division
/// code as "770-001". Every character maps to its zone position; inserted
/// blanks and hyphens to -1.
void ParseRusInternal(const QString &text, Fields *out);

/// The series ("45 03") and the number ("123456") of a number field as
/// ParseRusInternal writes it.
FieldText SeriesOf(const FieldText &number);
FieldText NumberOf(const FieldText &number);
/// The sex as the passport's page prints it ("МУЖ.", "ЖЕН."), every letter
/// at the zone's position of M or F; empty for anything else.
FieldText PrintedSex(const FieldText &sex);

} // namespace mrz
