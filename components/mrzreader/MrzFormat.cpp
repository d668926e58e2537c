#include "MrzFormat.h"

#include "RussianPassport.h"

#include <QDate>

namespace mrz {

int AlphabetIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'Z')
        return 10 + (u - 'A');
    if (u == '<')
        return 36;
    return -1;
}

Layout LayoutOf(Format f)
{
    switch (f) {
    case Format::TD1: return {f, 3, 30};
    case Format::TD2: return {f, 2, 36};
    case Format::MRVB: return {f, 2, 36};
    case Format::MRVA: return {f, 2, 44};
    case Format::RusInternal: return {f, 2, 44};
    case Format::TD3: break;
    }
    return {Format::TD3, 2, 44};
}

bool FormatFor(int lines, int length, Format *f)
{
    for (Format c : {Format::TD1, Format::TD2, Format::TD3}) {
        const Layout l = LayoutOf(c);
        if (l.lines == lines && l.length == length) {
            *f = c;
            return true;
        }
    }
    return false;
}

QString FormatName(Format f)
{
    switch (f) {
    case Format::TD1: return QStringLiteral("TD1");
    case Format::TD2: return QStringLiteral("TD2");
    case Format::MRVA: return QStringLiteral("MRVA");
    case Format::MRVB: return QStringLiteral("MRVB");
    case Format::RusInternal: return QStringLiteral("RUSPN");
    case Format::TD3: break;
    }
    return QStringLiteral("TD3");
}

Format FormatByCode(Format f, QStringView codeAndState)
{
    const Layout l = LayoutOf(f);
    if (l.lines != 2 || codeAndState.size() < 5)
        return f;
    const bool longRows = l.length == 44;
    if (codeAndState.at(0) == QLatin1Char('V'))
        return longRows ? Format::MRVA : Format::MRVB;
    // A Russian passport for travel abroad reads "P<RUS": an ordinary passport.
    if (longRows && codeAndState.left(5) == u"PNRUS")
        return Format::RusInternal;
    return longRows ? Format::TD3 : Format::TD2;
}

bool Admits(CharClass c, char ch)
{
    const bool digit = ch >= '0' && ch <= '9';
    const bool letter = ch >= 'A' && ch <= 'Z';
    const bool filler = ch == '<';
    switch (c) {
    case CharClass::Letter: return letter || filler;
    case CharClass::Digit: return digit;
    case CharClass::AlphaNum: return letter || digit || filler;
    case CharClass::DigitOrFiller: return digit || filler;
    case CharClass::Sex: return ch == 'M' || ch == 'F' || ch == 'X' || filler;
    case CharClass::Filler: return filler;
    case CharClass::CyrillicName: return IsCyrillicNameSymbol(ch);
    }
    return false;
}

int CheckDigit(std::u16string_view text)
{
    static constexpr int weights[3] = {7, 3, 1};
    int sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int v = AlphabetIndex(QChar(text[i]));
        if (v < 0)
            return -1;
        sum += (v == 36 ? 0 : v) * weights[i % 3];
    }
    return sum % 10;
}

int CheckDigit(const QString &text)
{
    return CheckDigit(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())));
}

namespace {

void Fill(std::vector<CharClass> &classes, Span s, CharClass c)
{
    for (int i = s.start; i < s.start + s.length; ++i)
        classes[size_t(i)] = c;
}

struct Piece
{
    Span span;
    CharClass cls;
};

Rules Build(Format f, std::initializer_list<Piece> pieces, std::vector<CheckRule> checks)
{
    Rules r{LayoutOf(f), {}, std::move(checks)};
    r.classes.assign(size_t(r.layout.lines * r.layout.length), CharClass::AlphaNum);
    for (const Piece &p : pieces)
        Fill(r.classes, p.span, p.cls);
    return r;
}

// Line 2 of TD2 and TD3 share their first 28 positions; `o` is where line 2 starts
// and `opt` the length of the optional data.
Rules TwoLine(Format f, int len, int opt, bool optionalHasCheck)
{
    const int o = len;
    const int optStart = o + 28;
    std::vector<CheckRule> checks = {
        {"documentNumber", {{o, 9}}, o + 9, false},
        {"birthDate", {{o + 13, 6}}, o + 19, false},
        {"expiryDate", {{o + 21, 6}}, o + 27, false},
    };
    std::vector<Span> composite = {{o, 10}, {o + 13, 7}, {o + 21, 7}, {optStart, opt + (optionalHasCheck ? 1 : 0)}};
    if (optionalHasCheck)
        checks.push_back({"personalNumber", {{optStart, opt}}, optStart + opt, true});
    checks.push_back({"composite", composite, o + len - 1, false});
    std::vector<Piece> pieces = {
        {{0, 2}, CharClass::Letter},     {{2, 3}, CharClass::Letter},      {{5, len - 5}, CharClass::Letter},
        {{o, 9}, CharClass::AlphaNum},   {{o + 9, 1}, CharClass::Digit},   {{o + 10, 3}, CharClass::Letter},
        {{o + 13, 6}, CharClass::DigitOrFiller}, {{o + 19, 1}, CharClass::Digit},  {{o + 20, 1}, CharClass::Sex},
        {{o + 21, 6}, CharClass::Digit}, {{o + 27, 1}, CharClass::Digit},  {{optStart, opt}, CharClass::AlphaNum},
        {{o + len - 1, 1}, CharClass::Digit},
    };
    if (optionalHasCheck)
        pieces.push_back({{optStart + opt, 1}, CharClass::DigitOrFiller});
    // A card's number longer than nine characters leaves a filler where its
    // check digit would be (a passport's number is never that long).
    if (f == Format::TD2)
        pieces.push_back({{o + 9, 1}, CharClass::DigitOrFiller});
    Rules r{LayoutOf(f), {}, std::move(checks)};
    r.classes.assign(size_t(2 * len), CharClass::AlphaNum);
    for (const Piece &p : pieces)
        Fill(r.classes, p.span, p.cls);
    return r;
}

// A visa: line 2 as a passport's up to its expiry check, then optional data
// to the end, with no check of its own and no composite check.
Rules Visa(Format f)
{
    const int len = LayoutOf(f).length, o = len;
    return Build(f,
                 {{{0, 5}, CharClass::Letter},
                  {{5, len - 5}, CharClass::Letter},
                  {{o + 9, 1}, CharClass::Digit},
                  {{o + 10, 3}, CharClass::Letter},
                  {{o + 13, 6}, CharClass::DigitOrFiller},
                  {{o + 19, 1}, CharClass::Digit},
                  {{o + 20, 1}, CharClass::Sex},
                  {{o + 21, 6}, CharClass::Digit},
                  {{o + 27, 1}, CharClass::Digit}},
                 {{"documentNumber", {{o, 9}}, o + 9, false},
                  {"birthDate", {{o + 13, 6}}, o + 19, false},
                  {"expiryDate", {{o + 21, 6}}, o + 27, false}});
}

// The Russian internal passport: names in the letters that stand for Cyrillic
// ones (digits among them), a number of digits only, no expiry date, and
// optional data of digits (the series' last digit, the date of issue, the
// issuing division) ending in a filler.
Rules RusInternal()
{
    const int o = 44;
    return Build(Format::RusInternal,
                 {{{0, 5}, CharClass::Letter},
                  {{5, 39}, CharClass::CyrillicName},
                  {{o, 10}, CharClass::Digit},
                  {{o + 10, 3}, CharClass::Letter},
                  {{o + 13, 6}, CharClass::DigitOrFiller},
                  {{o + 19, 1}, CharClass::Digit},
                  {{o + 20, 1}, CharClass::Sex},
                  {{o + 21, 7}, CharClass::DigitOrFiller},
                  {{o + 28, 13}, CharClass::Digit},
                  {{o + 41, 1}, CharClass::Filler},
                  {{o + 42, 2}, CharClass::Digit}},
                 {{"documentNumber", {{o, 9}}, o + 9, false},
                  {"birthDate", {{o + 13, 6}}, o + 19, false},
                  {"expiryDate", {{o + 21, 6}}, o + 27, true},
                  {"optionalData", {{o + 28, 14}}, o + 42, false},
                  {"composite", {{o, 10}, {o + 13, 7}, {o + 21, 22}}, o + 43, false}});
}

} // namespace

Rules RulesFor(Format f)
{
    switch (f) {
    case Format::TD3: return TwoLine(f, 44, 14, true);
    case Format::TD2: return TwoLine(f, 36, 7, false);
    case Format::MRVA:
    case Format::MRVB: return Visa(f);
    case Format::RusInternal: return RusInternal();
    case Format::TD1: break;
    }
    const int l2 = 30, l3 = 60;
    return Build(Format::TD1,
                 {{{0, 2}, CharClass::Letter},
                  {{2, 3}, CharClass::Letter},
                  {{5, 9}, CharClass::AlphaNum},
                  {{14, 1}, CharClass::DigitOrFiller},
                  {{15, 15}, CharClass::AlphaNum},
                  {{l2, 6}, CharClass::DigitOrFiller},
                  {{l2 + 6, 1}, CharClass::Digit},
                  {{l2 + 7, 1}, CharClass::Sex},
                  {{l2 + 8, 6}, CharClass::Digit},
                  {{l2 + 14, 1}, CharClass::Digit},
                  {{l2 + 15, 3}, CharClass::Letter},
                  {{l2 + 18, 11}, CharClass::AlphaNum},
                  {{l2 + 29, 1}, CharClass::Digit},
                  {{l3, 30}, CharClass::Letter}},
                 {{"documentNumber", {{5, 9}}, 14, false},
                  {"birthDate", {{l2, 6}}, l2 + 6, false},
                  {"expiryDate", {{l2 + 8, 6}}, l2 + 14, false},
                  {"composite", {{5, 25}, {l2, 7}, {l2 + 8, 7}, {l2 + 18, 11}}, l2 + 29, false}});
}

Span NameSpanOf(Format f)
{
    const Layout l = LayoutOf(f);
    return l.lines == 3 ? Span{2 * l.length, l.length} : Span{5, l.length - 5};
}

NumberPlace NumberPlaceOf(Format f)
{
    switch (f) {
    case Format::TD1: return {5, 14, 15, 30};
    case Format::TD2: return {36, 45, 64, 71};
    case Format::MRVB: return {36, 45, 64, 72};
    case Format::MRVA: return {44, 53, 72, 88};
    case Format::TD3:
    case Format::RusInternal: break;
    }
    return {44, 53, 72, 86};
}

Rules RulesFor(Format f, const QString &text)
{
    Rules r = RulesFor(f);
    const NumberPlace n = NumberPlaceOf(f);
    // Only cards print numbers longer than nine characters.
    if ((f != Format::TD1 && f != Format::TD2) || text.size() < n.optionalEnd || text.at(n.digit) != QLatin1Char('<'))
        return r;
    // A long number: the rest follows in the optional data, then its check digit, then a filler.
    int end = n.optionalStart;
    while (end < n.optionalEnd && text.at(end) != QLatin1Char('<'))
        ++end;
    if (end - n.optionalStart < 2)
        return r;
    for (CheckRule &c : r.checks) {
        if (std::string_view(c.name) == "documentNumber") {
            c.covered = {{n.start, 9}, {n.optionalStart, end - n.optionalStart - 1}};
            c.digit = end - 1;
        }
    }
    return r;
}

DateState StateOfDate(QStringView d, bool unknownAllowed)
{
    if (d.size() != 6)
        return DateState::Invalid;
    // Each pair is a number, or unknown: "<<" anywhere, "00" for month and day.
    int part[3];
    bool unknown[3];
    for (int i = 0; i < 3; ++i) {
        const QStringView pair = d.mid(2 * i, 2);
        unknown[i] = pair == u"<<" || (i > 0 && pair == u"00");
        bool ok = false;
        part[i] = pair.toInt(&ok);
        if (!unknown[i] && (!ok || !pair.at(0).isDigit() || !pair.at(1).isDigit()))
            return DateState::Invalid;
    }
    if (!unknown[0] && !unknown[1] && !unknown[2])
        // The century does not matter to month and day: 2000 is a leap year
        // as any century's 00 year we could meet.
        return QDate(2000 + part[0], part[1], part[2]).isValid() ? DateState::Known : DateState::Invalid;
    if (!unknownAllowed)
        return DateState::Invalid;
    if (!unknown[1] && (part[1] < 1 || part[1] > 12))
        return DateState::Invalid;
    if (!unknown[2]) {
        const int month = unknown[1] ? 1 : part[1]; // any month has 31 days when it is unknown
        const int days = unknown[0] || unknown[1] ? (unknown[1] ? 31 : QDate(2000, month, 1).daysInMonth())
                                                  : QDate(2000 + part[0], month, 1).daysInMonth();
        if (part[2] < 1 || part[2] > days)
            return DateState::Invalid;
    }
    return DateState::PartlyUnknown;
}

bool CheckHolds(const CheckRule &rule, const QString &text)
{
    QString covered;
    for (const Span &s : rule.covered)
        covered += text.mid(s.start, s.length);
    const QChar digit = text.at(rule.digit);
    if (rule.fillerAllowed && digit == QLatin1Char('<')) {
        for (QChar c : covered)
            if (c != QLatin1Char('<'))
                return false;
        return true;
    }
    const int expected = CheckDigit(covered);
    return expected >= 0 && digit.unicode() == char16_t('0' + expected);
}

} // namespace mrz
