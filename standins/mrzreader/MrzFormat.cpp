#include "MrzFormat.h"

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
    case Format::TD3: break;
    }
    return QStringLiteral("TD3");
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
        {{o + 13, 6}, CharClass::Digit}, {{o + 19, 1}, CharClass::Digit},  {{o + 20, 1}, CharClass::Sex},
        {{o + 21, 6}, CharClass::Digit}, {{o + 27, 1}, CharClass::Digit},  {{optStart, opt}, CharClass::AlphaNum},
        {{o + len - 1, 1}, CharClass::Digit},
    };
    if (optionalHasCheck)
        pieces.push_back({{optStart + opt, 1}, CharClass::DigitOrFiller});
    Rules r{LayoutOf(f), {}, std::move(checks)};
    r.classes.assign(size_t(2 * len), CharClass::AlphaNum);
    for (const Piece &p : pieces)
        Fill(r.classes, p.span, p.cls);
    return r;
}

} // namespace

Rules RulesFor(Format f)
{
    switch (f) {
    case Format::TD3: return TwoLine(f, 44, 14, true);
    case Format::TD2: return TwoLine(f, 36, 7, false);
    case Format::TD1: break;
    }
    const int l2 = 30, l3 = 60;
    return Build(Format::TD1,
                 {{{0, 2}, CharClass::Letter},
                  {{2, 3}, CharClass::Letter},
                  {{5, 9}, CharClass::AlphaNum},
                  {{14, 1}, CharClass::DigitOrFiller},
                  {{15, 15}, CharClass::AlphaNum},
                  {{l2, 6}, CharClass::Digit},
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

Rules RulesFor(Format f, const QString &text)
{
    Rules r = RulesFor(f);
    if (f != Format::TD1 || text.size() < 30 || text.at(14) != QLatin1Char('<'))
        return r;
    // A long number: the rest follows in the optional data, then its check digit, then a filler.
    int end = 15;
    while (end < 30 && text.at(end) != QLatin1Char('<'))
        ++end;
    if (end - 15 < 2)
        return r;
    for (CheckRule &c : r.checks) {
        if (std::string_view(c.name) == "documentNumber") {
            c.covered = {{5, 9}, {15, end - 16}};
            c.digit = end - 1;
        }
    }
    return r;
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
