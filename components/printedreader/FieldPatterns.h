#pragma once
// What each printed field may hold: the characters Tesseract is allowed when
// it reads the field again, the way a reading is put into the field's form
// (look-alike characters of the other script, spacing), and the pattern the
// result must match.

#include "PrintedFields.h"

#include <QString>

namespace printed {

/// The script a value line is printed in.
enum class Script { Cyrillic, Latin, Digits };

/// The characters allowed for the field when it is read again, for a line in
/// this script (the licence and the foreign passport print names twice).
QString AlphabetOf(Field f, DocumentKind kind, Script script = Script::Cyrillic);

/// A reading put into the field's form: look-alike letters of the other
/// script replaced, digits for letters in dates and numbers, blanks evened.
QString Normalise(Field f, DocumentKind kind, const QString &reading, Script script = Script::Cyrillic);

/// Whether a normalised value matches the field's pattern: a calendar date
/// dd.mm.yyyy, "ddd-ddd", upper-case names, the series and number, ...
/// kind decides the forms that differ between documents (sex, series, number).
bool MatchesPattern(Field f, DocumentKind kind, const QString &value);

/// Cyrillic letters in the text outnumber the Latin ones.
Script ScriptOf(const QString &text);

/// The script a field is printed in whatever OCR made of it (names, Latin
/// names, digits); for free text, the reading's own.
Script ScriptFor(Field f, const QString &reading);

} // namespace printed
