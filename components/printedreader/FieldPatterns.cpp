#include "FieldPatterns.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace printed {

namespace {

const QString kCyrillicCapitals = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
const QString kLatinCapitals = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
const QString kDigits = QStringLiteral("0123456789");

enum class Form { Date, Code, Name, LatinName, Text, Sex, Series, Number, Categories };

Form FormOf(Field f)
{
    switch (f) {
    case Field::BirthDate:
    case Field::IssueDate:
    case Field::ExpiryDate:
        return Form::Date;
    case Field::DivisionCode:
        return Form::Code;
    case Field::Surname:
    case Field::GivenName:
    case Field::Patronymic:
    case Field::Nationality:
        return Form::Name;
    case Field::SurnameLatin:
    case Field::GivenNameLatin:
        return Form::LatinName;
    case Field::BirthPlace:
    case Field::IssuedBy:
    case Field::ResidencePlace:
        return Form::Text;
    case Field::Sex:
        return Form::Sex;
    case Field::Series:
        return Form::Series;
    case Field::Number:
        return Form::Number;
    case Field::Categories:
        return Form::Categories;
    }
    return Form::Text;
}

// Letters printed alike in both scripts (and the digits OCR mistakes for
// letters), by the script the line is in.
const QHash<QChar, QChar> &ToCyrillic()
{
    static const QHash<QChar, QChar> map = {
        {u'A', u'А'}, {u'B', u'В'}, {u'C', u'С'}, {u'E', u'Е'}, {u'H', u'Н'}, {u'K', u'К'}, {u'M', u'М'},
        {u'O', u'О'}, {u'P', u'Р'}, {u'T', u'Т'}, {u'X', u'Х'}, {u'Y', u'У'}, {u'0', u'О'}, {u'3', u'З'},
        {u'6', u'Б'}, {u'N', u'И'}, {u'R', u'Я'}};
    return map;
}

const QHash<QChar, QChar> &ToLatin()
{
    static const QHash<QChar, QChar> map = {
        {u'А', u'A'}, {u'В', u'B'}, {u'С', u'C'}, {u'Е', u'E'}, {u'Н', u'H'}, {u'К', u'K'}, {u'М', u'M'},
        {u'О', u'O'}, {u'Р', u'P'}, {u'Т', u'T'}, {u'Х', u'X'}, {u'У', u'Y'}, {u'И', u'N'}, {u'0', u'O'}};
    return map;
}

const QHash<QChar, QChar> &ToDigits()
{
    static const QHash<QChar, QChar> map = {
        {u'O', u'0'}, {u'О', u'0'}, {u'o', u'0'}, {u'о', u'0'}, {u'D', u'0'}, {u'Q', u'0'}, {u'I', u'1'},
        {u'l', u'1'}, {u'|', u'1'}, {u'i', u'1'}, {u'З', u'3'}, {u'з', u'3'}, {u'б', u'6'}, {u'S', u'5'},
        {u'B', u'8'}, {u'В', u'8'}, {u'Z', u'2'}, {u'g', u'9'}, {u'Ч', u'4'}, {u'А', u'4'}};
    return map;
}

// Cyrillic letters read as Latin ones that are not look-alikes of a single
// capital ("JI" for Л, "bI" for Ы, "b" for Ь).
QString CyrillicPairs(QString s)
{
    s.replace(QStringLiteral("JI"), QStringLiteral("Л"));
    s.replace(QStringLiteral("bI"), QStringLiteral("Ы"));
    s.replace(QStringLiteral("bl"), QStringLiteral("Ы"));
    s.replace(QStringLiteral("ЬI"), QStringLiteral("Ы"));
    s.replace(QStringLiteral("IO"), QStringLiteral("Ю"));
    s.replace(QLatin1Char('b'), QChar(u'Ь'));
    return s;
}

QString Mapped(const QString &s, const QHash<QChar, QChar> &map)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        out += map.value(c, c);
    return out;
}

QString Simplified(QString s)
{
    // Dashes of every kind are the hyphen of names and codes.
    for (QChar &c : s)
        if (c == u'—' || c == u'–' || c == u'‐' || c == u'−')
            c = u'-';
    s = s.simplified();
    s.replace(QStringLiteral(" - "), QStringLiteral("-"));
    s.replace(QStringLiteral(" -"), QStringLiteral("-"));
    s.replace(QStringLiteral("- "), QStringLiteral("-"));
    return s;
}

QString KeepOnly(const QString &s, const QString &allowed)
{
    QString out;
    for (QChar c : s)
        if (allowed.contains(c))
            out += c;
    return out;
}

// Places and authorities are printed in Russian: a Latin capital in them is
// the Cyrillic one it looks like.
QString CyrillicLookAlikes(const QString &text)
{
    QString out;
    for (QChar c : text)
        out += c.isLetter() && c.script() == QChar::Script_Latin ? ToCyrillic().value(c, c) : c;
    return out;
}

// The documents print places and authorities in capitals: a word without a
// capital or a digit is what the engine made of a speck or a background line.
QString WithoutSpecks(const QString &text)
{
    QStringList kept;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (std::any_of(word.begin(), word.end(), [](QChar c) { return c.isUpper() || c.isDigit(); }))
            kept << word;
    return kept.join(QLatin1Char(' '));
}

// Places and authorities abbreviate with a dot ("ГОР.", "ОБЛ."), which a
// small print loses or turns into a comma.
QString Abbreviated(QString text)
{
    static const QRegularExpression abbreviation(
        QStringLiteral("(?<![А-ЯЁA-Z])(ГОР|ОБЛ|ДЕР|ПОС|ПГТ|РЕСП|Р-НА|Р-Н|С|Г)(,|(?=\\s|$))"));
    text.replace(abbreviation, QStringLiteral("\\1."));
    return text;
}

QString NormaliseDate(const QString &reading)
{
    QString digits = KeepOnly(Mapped(reading, ToDigits()), kDigits);
    if (digits.size() != 8)
        return Simplified(reading);
    return digits.left(2) + u'.' + digits.mid(2, 2) + u'.' + digits.mid(4);
}

// Categories run together when the blanks between them are narrow: "BB1M"
// is cut into the longest categories from the left.
QString Categories(const QString &reading)
{
    static const QRegularExpression one(QStringLiteral("^(?:C1E|D1E|A1|B1|BE|C1|CE|D1|DE|TM|TB|A|B|C|D|M)"));
    QString rest = reading;
    rest.remove(QLatin1Char(' '));
    rest.replace(QRegularExpression(QStringLiteral("(?<=[A-Z])[IL|]")), QStringLiteral("1"));
    QStringList parts;
    while (!rest.isEmpty()) {
        const QRegularExpressionMatch m = one.match(rest);
        if (!m.hasMatch())
            return reading.simplified();
        parts << m.captured();
        rest = rest.mid(m.capturedLength());
    }
    return parts.join(QLatin1Char(' '));
}

QString NormaliseSex(const QString &reading, DocumentKind kindHint)
{
    const QString up = Mapped(reading.toUpper(), ToCyrillic());
    const bool female = up.contains(QStringLiteral("ЖЕН")) || up.startsWith(u'Ж') || up.contains(QLatin1Char('F'));
    const bool male = up.contains(QStringLiteral("МУЖ")) || (up.startsWith(u'М') && !female);
    if (male == female)
        return Simplified(reading);
    const bool longForm = kindHint == DocumentKind::InternalPassport;
    if (longForm)
        return male ? QStringLiteral("МУЖ.") : QStringLiteral("ЖЕН.");
    return male ? QStringLiteral("М") : QStringLiteral("Ж");
}

} // namespace

Script ScriptFor(Field f, const QString &reading)
{
    switch (FormOf(f)) {
    case Form::Name:
    case Form::Sex:
        return Script::Cyrillic;
    case Form::LatinName:
    case Form::Categories:
        return Script::Latin;
    case Form::Date:
    case Form::Code:
    case Form::Series:
    case Form::Number:
        return Script::Digits;
    case Form::Text:
        break;
    }
    return ScriptOf(reading);
}

Script ScriptOf(const QString &text)
{
    int cyr = 0, lat = 0, dig = 0;
    for (QChar c : text) {
        if (c.isDigit())
            ++dig;
        else if (c.script() == QChar::Script_Cyrillic)
            ++cyr;
        else if (c.script() == QChar::Script_Latin)
            ++lat;
    }
    if (cyr == 0 && lat == 0 && dig > 0)
        return Script::Digits;
    return lat > cyr ? Script::Latin : Script::Cyrillic;
}

QString AlphabetOf(Field f, DocumentKind kind, Script script)
{
    switch (FormOf(f)) {
    case Form::Date:
        return kDigits + u'.';
    case Form::Code:
        return kDigits + u'-';
    case Form::Series:
    case Form::Number:
        return kDigits + u' ';
    case Form::Name:
        return (script == Script::Latin ? kLatinCapitals : kCyrillicCapitals) + QStringLiteral("- ");
    case Form::LatinName:
        return kLatinCapitals + QStringLiteral("- ");
    case Form::Sex:
        return kind == DocumentKind::InternalPassport ? QStringLiteral("МУЖЕН.") : QStringLiteral("МЖ/FM");
    case Form::Categories:
        return QStringLiteral("ABCDEM1 ");
    case Form::Text:
        return (script == Script::Latin ? kLatinCapitals : kCyrillicCapitals) + kDigits + QStringLiteral(".,-()\"№/ ");
    }
    return {};
}

QString Normalise(Field f, DocumentKind kind, const QString &reading, Script script)
{
    switch (FormOf(f)) {
    case Form::Date:
        return NormaliseDate(reading);
    case Form::Code: {
        const QString digits = KeepOnly(Mapped(reading, ToDigits()), kDigits);
        return digits.size() == 6 ? digits.left(3) + u'-' + digits.mid(3) : Simplified(reading);
    }
    case Form::Series: {
        // The internal passport's and the licence's series is two pairs.
        const QString digits = KeepOnly(Mapped(reading, ToDigits()), kDigits);
        if (kind != DocumentKind::ForeignPassport && digits.size() == 4)
            return digits.left(2) + u' ' + digits.mid(2);
        return digits;
    }
    case Form::Number:
        return Simplified(KeepOnly(Mapped(reading, ToDigits()), kDigits + u' '));
    case Form::Name:
        if (script == Script::Latin)
            return Simplified(Mapped(reading.toUpper(), ToLatin()));
        return Simplified(Mapped(CyrillicPairs(reading).toUpper(), ToCyrillic()));
    case Form::LatinName:
        return Simplified(Mapped(reading.toUpper(), ToLatin()));
    case Form::Sex:
        return NormaliseSex(reading, kind);
    case Form::Categories: {
        // A category's "1" is often read as a small l or an I.
        QString up = Mapped(reading.toUpper(), ToLatin());
        up.replace(QRegularExpression(QStringLiteral("[^A-Z0-9|]+")), QStringLiteral(" "));
        up.replace(QRegularExpression(QStringLiteral("(?<=[A-Z])[IL|](?=\\s|$)")), QStringLiteral("1"));
        return Categories(up);
    }
    case Form::Text:
        return Abbreviated(WithoutSpecks(Simplified(CyrillicLookAlikes(reading))));
    }
    return Simplified(reading);
}

bool MatchesPattern(Field f, DocumentKind kind, const QString &value)
{
    static const QRegularExpression code(QStringLiteral("^\\d{3}-\\d{3}$"));
    static const QRegularExpression cyrName(QStringLiteral("^[А-ЯЁ]+(?:[- ][А-ЯЁ]+)*$"));
    static const QRegularExpression latName(QStringLiteral("^[A-Z]+(?:[- '][A-Z]+)*$"));
    static const QRegularExpression category(QStringLiteral("^(?:A1?|B1?E?|BE|C1?E?|D1?E?|M|TM|TB)$"));
    switch (FormOf(f)) {
    case Form::Date: {
        return value.size() == 10 && QDate::fromString(value, QStringLiteral("dd.MM.yyyy")).isValid();
    }
    case Form::Code:
        return code.match(value).hasMatch();
    case Form::Name:
        return cyrName.match(value).hasMatch();
    case Form::LatinName:
        return latName.match(value).hasMatch();
    case Form::Text:
        // Russian text: a Latin letter left in it is a misreading.
        return !value.isEmpty() &&
               std::none_of(value.begin(), value.end(), [](QChar c) { return c.script() == QChar::Script_Latin; });
    case Form::Sex:
        if (kind == DocumentKind::InternalPassport)
            return value == QStringLiteral("МУЖ.") || value == QStringLiteral("ЖЕН.");
        return value == QStringLiteral("М") || value == QStringLiteral("Ж");
    case Form::Series: {
        static const QRegularExpression two(QStringLiteral("^\\d{2}$"));
        static const QRegularExpression pair(QStringLiteral("^\\d{2} \\d{2}$"));
        return (kind == DocumentKind::ForeignPassport ? two : pair).match(value).hasMatch();
    }
    case Form::Number: {
        static const QRegularExpression six(QStringLiteral("^\\d{6}$"));
        static const QRegularExpression seven(QStringLiteral("^\\d{7}$"));
        return (kind == DocumentKind::ForeignPassport ? seven : six).match(value).hasMatch();
    }
    case Form::Categories: {
        if (value.isEmpty())
            return false;
        for (const QString &c : value.split(u' '))
            if (!category.match(c).hasMatch())
                return false;
        return true;
    }
    }
    return false;
}

} // namespace printed
