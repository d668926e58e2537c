#include "RussianPassport.h"

#include <array>
#include <utility>

namespace mrz {

namespace {

// Each Cyrillic capital is written as one zone symbol; letters without a
// Latin likeness take the digits.
constexpr std::array<std::pair<char16_t, char>, 33> kLetters = {{
    {u'А', 'A'}, {u'Б', 'B'}, {u'В', 'V'}, {u'Г', 'G'}, {u'Д', 'D'}, {u'Е', 'E'}, {u'Ё', '2'},
    {u'Ж', 'J'}, {u'З', 'Z'}, {u'И', 'I'}, {u'Й', 'Q'}, {u'К', 'K'}, {u'Л', 'L'}, {u'М', 'M'},
    {u'Н', 'N'}, {u'О', 'O'}, {u'П', 'P'}, {u'Р', 'R'}, {u'С', 'S'}, {u'Т', 'T'}, {u'У', 'U'},
    {u'Ф', 'F'}, {u'Х', 'H'}, {u'Ц', 'C'}, {u'Ч', '3'}, {u'Ш', '4'}, {u'Щ', 'W'}, {u'Ъ', 'X'},
    {u'Ы', 'Y'}, {u'Ь', '9'}, {u'Э', '6'}, {u'Ю', '7'}, {u'Я', '8'},
}};

constexpr QChar kFiller = QLatin1Char('<');

FieldText Printed(const QString &text, int start, int length)
{
    FieldText out;
    for (int i = start; i < start + length && i < text.size(); ++i) {
        out.value += text.at(i);
        out.positions.push_back(i);
    }
    return out;
}

void Insert(FieldText &f, QChar c)
{
    f.value += c;
    f.positions.push_back(-1);
}

void Append(FieldText &f, const FieldText &part)
{
    f.value += part.value;
    f.positions.insert(f.positions.end(), part.positions.begin(), part.positions.end());
}

// The words of a run of names, each in Cyrillic with its zone positions.
std::vector<FieldText> Words(const QString &text, int start, int end)
{
    std::vector<FieldText> words;
    FieldText word;
    for (int i = start; i <= end; ++i) {
        if (i == end || text.at(i) == kFiller) {
            if (!word.value.isEmpty())
                words.push_back(std::exchange(word, {}));
            continue;
        }
        const QChar c = CyrillicLetter(char(text.at(i).toLatin1()));
        word.value += c.isNull() ? text.at(i) : c;
        word.positions.push_back(i);
    }
    return words;
}

FieldText Joined(const std::vector<FieldText> &words, size_t from, size_t to)
{
    FieldText out;
    for (size_t i = from; i < to; ++i) {
        if (i > from)
            Insert(out, QLatin1Char('-'));
        Append(out, words[i]);
    }
    return out;
}

} // namespace

QChar CyrillicLetter(char symbol)
{
    for (const auto &[cyrillic, zone] : kLetters)
        if (zone == symbol)
            return QChar(cyrillic);
    return {};
}

char ZoneSymbol(QChar cyrillic)
{
    for (const auto &[c, zone] : kLetters)
        if (c == cyrillic.unicode())
            return zone;
    return 0;
}

bool IsCyrillicNameSymbol(char symbol)
{
    return symbol == '<' || !CyrillicLetter(symbol).isNull();
}

QString ToZoneNames(QStringView cyrillic)
{
    QString out;
    for (QChar c : cyrillic) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('-')) {
            out += kFiller;
            continue;
        }
        const char z = ZoneSymbol(c.toUpper());
        if (!z)
            return {};
        out += QLatin1Char(z);
    }
    return out;
}

QString FromZoneNames(QStringView zone)
{
    QString out;
    for (QChar c : zone) {
        const QChar cyrillic = CyrillicLetter(char(c.toLatin1()));
        out += c == kFiller ? QLatin1Char('-') : cyrillic.isNull() ? c : cyrillic;
    }
    return out;
}

void ParseRusInternal(const QString &text, Fields *out)
{
    constexpr int o = 44;
    if (text.size() != 2 * o)
        return;
    // Surname, a double filler, then the given name and the patronymic: the
    // patronymic is the last word (a double given name has two before it).
    const int split = text.indexOf(QStringLiteral("<<"), 5);
    const int namesEnd = o;
    const int surnameEnd = split < 0 || split >= namesEnd ? namesEnd : split;
    const std::vector<FieldText> surname = Words(text, 5, surnameEnd);
    out->surname = Joined(surname, 0, surname.size());
    // Names that reach the line's end may have been cut there: the last part
    // may lack letters, and where the patronymic was cut off whole, a double
    // given name's second part would pass for it.
    // A surname that leaves no room after its double filler has had the
    // given name and patronymic cut off whole: they are there, unreadable.
    const bool cut = text.at(namesEnd - 1) != kFiller;
    const bool restCut = cut || surnameEnd + 2 >= namesEnd;
    out->surname.doubtful = surnameEnd >= namesEnd && cut;
    if (surnameEnd + 2 < namesEnd) {
        const std::vector<FieldText> rest = Words(text, surnameEnd + 2, namesEnd);
        const size_t given = rest.size() > 1 ? rest.size() - 1 : rest.size();
        out->givenNames = Joined(rest, 0, given);
        out->patronymic = Joined(rest, given, rest.size());
    }
    out->givenNames.doubtful = restCut;
    out->patronymic.doubtful = restCut && (!out->patronymic.value.isEmpty() || out->givenNames.value.isEmpty());

    // Series: the first three digits of the number and the first of the
    // optional data, printed in pairs; then the six digits of the number.
    FieldText number = Printed(text, o, 2);
    Insert(number, QLatin1Char(' '));
    Append(number, Printed(text, o + 2, 1));
    Append(number, Printed(text, o + 28, 1));
    Insert(number, QLatin1Char(' '));
    Append(number, Printed(text, o + 3, 6));
    out->documentNumber = number;
    // "RUS" as printed; fillers there (a broken field) are no letters of it.
    FieldText nationality = Printed(text, o + 10, 3);
    for (qsizetype i = nationality.value.size(); i-- > 0;)
        if (nationality.value.at(i) == kFiller) {
            nationality.value.remove(i, 1);
            nationality.positions.erase(nationality.positions.begin() + i);
        }
    out->nationality = nationality;
    out->birthDate = Printed(text, o + 13, 6);
    out->sex = text.at(o + 20) == kFiller ? FieldText{} : Printed(text, o + 20, 1);
    // The passport has no expiry date: the zone leaves it to fillers.
    const FieldText expiry = Printed(text, o + 21, 6);
    if (expiry.value != QString(6, kFiller))
        out->expiryDate = expiry;
    out->issueDate = Printed(text, o + 29, 6);
    FieldText division = Printed(text, o + 35, 3);
    Insert(division, QLatin1Char('-'));
    Append(division, Printed(text, o + 38, 3));
    out->divisionCode = division;
}

FieldText SeriesOf(const FieldText &number)
{
    FieldText out;
    out.value = number.value.left(5);
    out.positions.assign(number.positions.begin(), number.positions.begin() + std::min<size_t>(5, number.positions.size()));
    return out;
}

FieldText NumberOf(const FieldText &number)
{
    FieldText out;
    if (number.value.size() <= 6)
        return out;
    out.value = number.value.mid(6);
    out.positions.assign(number.positions.begin() + 6, number.positions.end());
    return out;
}

FieldText PrintedSex(const FieldText &sex)
{
    FieldText out;
    if (sex.value.size() != 1 || sex.positions.size() != 1)
        return out;
    if (sex.value == QLatin1String("M"))
        out.value = QStringLiteral("МУЖ.");
    else if (sex.value == QLatin1String("F"))
        out.value = QStringLiteral("ЖЕН.");
    out.positions.assign(size_t(out.value.size()), sex.positions.front());
    return out;
}

} // namespace mrz
