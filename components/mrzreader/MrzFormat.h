#pragma once
// The layouts of machine-readable zones (TD1: 3 x 30, TD2: 2 x 36, TD3: 2 x 44,
// the visas MRV-A: 2 x 44 and MRV-B: 2 x 36, and the Russian internal
// passport's 2 x 44), their check digits and the characters each position admits.

#include <QString>
#include <QStringList>

#include <array>
#include <string_view>
#include <vector>

namespace mrz {

/// The characters of a zone, in the order the classifier scores them.
inline constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ<";
inline constexpr int kAlphabetSize = 37;
/// Index of c in kAlphabet, -1 when c cannot appear in a zone.
int AlphabetIndex(QChar c);

/// TD1..TD3 are also the shapes a zone's rows show; the visas and the Russian
/// internal passport share a shape with TD3 or TD2 and are told apart by their
/// document code (`FormatByCode`).
enum class Format { TD1, TD2, TD3, MRVA, MRVB, RusInternal };

struct Layout
{
    Format format;
    int lines;
    int length; ///< characters per line
};
Layout LayoutOf(Format f);
/// The shape (TD1, TD2 or TD3) with that many lines of that length; false when there is none.
bool FormatFor(int lines, int length, Format *f);
/// "TD1", "TD2", "TD3", "MRVA", "MRVB", "RUSPN".
QString FormatName(Format f);
/// The layout a zone of the shape of f follows, by its first five characters
/// (document code and issuing state): a code starting with 'V' is a visa of
/// that length, "PNRUS" on two rows of 44 the Russian internal passport;
/// anything else the shape's own format.
Format FormatByCode(Format f, QStringView codeAndState);

/// What a position may hold; the classifier chooses only among these.
enum class CharClass : unsigned char {
    Letter,   ///< A..Z or the filler
    Digit,    ///< 0..9
    AlphaNum, ///< A..Z, 0..9 or the filler
    DigitOrFiller,
    Sex,      ///< M, F, X or the filler
    Filler,   ///< the filler only
    CyrillicName, ///< a Russian internal passport's names: A..Z, the filler and the digits that stand for letters
};
bool Admits(CharClass c, char ch);

/// Check digit over text (weights 7, 3, 1; A..Z count 10..35, the filler 0).
/// -1 when text holds a character a zone cannot hold.
int CheckDigit(std::u16string_view text);
int CheckDigit(const QString &text);

/// A run of positions in the zone text (lines joined without separator).
struct Span
{
    int start = 0;
    int length = 0;
};

/// A check digit and the positions it protects.
struct CheckRule
{
    const char *name;
    std::vector<Span> covered;
    int digit; ///< position of the check digit
    bool fillerAllowed; ///< an all-filler field may carry '<' as its digit
};

/// One named field of a layout.
struct FieldRule
{
    const char *name;
    Span span;
};

/// The character class of every position, the check rules and the raw fields
/// of a layout. A check with `fillerAllowed` over a date lets the date be left
/// out (all fillers). When a TD1 or TD2 document number is longer than nine
/// characters the rules follow the number into the optional data (see
/// `RulesFor(text)`).
struct Rules
{
    Layout layout;
    std::vector<CharClass> classes;
    std::vector<CheckRule> checks;
};
Rules RulesFor(Format f);
/// Rules adjusted to the text: a TD1 or TD2 number whose check digit position
/// holds the filler continues in the optional data up to the first filler,
/// and its check digit is the character before it.
Rules RulesFor(Format f, const QString &text);

/// Where the document number and the optional data that may continue it lie.
struct NumberPlace
{
    int start;         ///< first character of the number
    int digit;         ///< its check digit, or the filler of a long number
    int optionalStart; ///< the optional data that follows
    int optionalEnd;   ///< one past it
};
NumberPlace NumberPlaceOf(Format f);

/// Where the names stand: all of line 3 of a card, line 1 after the document
/// code and the state otherwise.
Span NameSpanOf(Format f);

/// A YYMMDD date as a zone prints it. A date of birth may leave the year,
/// month or day unknown (fillers, or "00" for month and day); any other date
/// must be a calendar date.
enum class DateState { Known, PartlyUnknown, Invalid };
DateState StateOfDate(QStringView yymmdd, bool unknownAllowed);

bool CheckHolds(const CheckRule &rule, const QString &text);

} // namespace mrz
