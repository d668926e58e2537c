#include "MrzFields.h"

#include "RussianPassport.h"

#include <QDate>

namespace mrz {

const std::vector<FieldEntry> &FieldTable()
{
    static const std::vector<FieldEntry> table = {
        {"documentCode", &Fields::documentCode},     {"issuingState", &Fields::issuingState},
        {"surname", &Fields::surname},               {"givenNames", &Fields::givenNames},
        {"documentNumber", &Fields::documentNumber}, {"nationality", &Fields::nationality},
        {"birthDate", &Fields::birthDate},           {"sex", &Fields::sex},
        {"expiryDate", &Fields::expiryDate},         {"personalNumber", &Fields::personalNumber},
        {"optionalData2", &Fields::optionalData2},   {"patronymic", &Fields::patronymic},
        {"issueDate", &Fields::issueDate},           {"divisionCode", &Fields::divisionCode},
    };
    return table;
}

namespace {

// Text of a span with fillers turned into blanks, blanks collapsed, ends trimmed.
FieldText Clean(const QString &text, const std::vector<Span> &spans)
{
    FieldText out;
    bool pendingBlank = false;
    for (const Span &s : spans) {
        for (int i = s.start; i < s.start + s.length && i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('<')) {
                pendingBlank = !out.value.isEmpty();
                continue;
            }
            if (pendingBlank) {
                out.value += QLatin1Char(' ');
                out.positions.push_back(-1);
                pendingBlank = false;
            }
            out.value += text.at(i);
            out.positions.push_back(i);
        }
    }
    return out;
}

FieldText Clean(const QString &text, Span s)
{
    return Clean(text, std::vector<Span>{s});
}

// A date as printed: fillers stand for unknown parts and are kept.
FieldText Raw(const QString &text, Span s)
{
    FieldText out;
    for (int i = s.start; i < s.start + s.length && i < text.size(); ++i) {
        out.value += text.at(i);
        out.positions.push_back(i);
    }
    return out;
}

// The document number, which a long one continues into the optional data,
// and the optional data after it.
void NumberAndOptional(Format f, const QString &text, Fields *out)
{
    const Rules r = RulesFor(f, text);
    const NumberPlace n = NumberPlaceOf(f);
    for (const CheckRule &c : r.checks) {
        if (std::string_view(c.name) != "documentNumber")
            continue;
        out->documentNumber = Clean(text, c.covered);
        const int optStart = c.digit != n.digit ? c.digit + 1 : n.optionalStart;
        out->personalNumber = Clean(text, Span{optStart, n.optionalEnd - optStart});
    }
}

void Names(const QString &text, Span s, Fields *f)
{
    // Surname and given names are separated by the first double filler.
    const QString names = text.mid(s.start, s.length);
    const int split = names.indexOf(QStringLiteral("<<"));
    if (split < 0) {
        f->surname = Clean(text, s);
        return;
    }
    f->surname = Clean(text, Span{s.start, split});
    f->givenNames = Clean(text, Span{s.start + split + 2, s.length - split - 2});
}

} // namespace

Fields ParseFields(Format f, const QString &text)
{
    Fields out;
    const Layout l = LayoutOf(f);
    if (text.size() != l.lines * l.length)
        return out;
    out.documentCode = Clean(text, Span{0, 2});
    out.issuingState = Clean(text, Span{2, 3});
    if (f == Format::RusInternal) {
        ParseRusInternal(text, &out);
        return out;
    }
    if (f == Format::TD1) {
        NumberAndOptional(f, text, &out);
        out.birthDate = Raw(text, Span{30, 6});
        out.sex = Clean(text, Span{37, 1});
        out.expiryDate = Raw(text, Span{38, 6});
        out.nationality = Clean(text, Span{45, 3});
        out.optionalData2 = Clean(text, Span{48, 11});
        Names(text, NameSpanOf(f), &out);
        return out;
    }
    const int o = l.length;
    Names(text, NameSpanOf(f), &out);
    if (f == Format::TD2) {
        NumberAndOptional(f, text, &out);
    } else {
        // A passport's optional data ends in its check digit; a visa's runs to the line's end.
        const bool visa = f == Format::MRVA || f == Format::MRVB;
        out.documentNumber = Clean(text, Span{o, 9});
        out.personalNumber = Clean(text, Span{o + 28, visa ? l.length - 28 : 14});
    }
    out.nationality = Clean(text, Span{o + 10, 3});
    out.birthDate = Raw(text, Span{o + 13, 6});
    out.sex = Clean(text, Span{o + 20, 1});
    out.expiryDate = Raw(text, Span{o + 21, 6});
    return out;
}

FieldText DisplayDate(const FieldText &yymmdd, bool birth, int currentYear)
{
    FieldText out;
    if (yymmdd.value.size() != 6 || yymmdd.positions.size() != 6)
        return out;
    const DateState state = StateOfDate(yymmdd.value, birth);
    if (state == DateState::PartlyUnknown) {
        out.doubtful = true;
        return out;
    }
    // Only digits make a date: a number parser would take a blank or a sign too.
    if (state != DateState::Known)
        return out;
    bool ok = false;
    const int yy = yymmdd.value.left(2).toInt(&ok);
    if (!ok)
        return out;
    int year = 2000 + yy;
    if (birth ? year > currentYear : yy >= 70)
        year -= 100;
    const QDate d(year, yymmdd.value.mid(2, 2).toInt(), yymmdd.value.mid(4, 2).toInt());
    if (!d.isValid())
        return out;
    out.value = d.toString(QStringLiteral("dd.MM.yyyy"));
    const auto &p = yymmdd.positions;
    // The century digits come from the rule, not from the zone: they follow the year's digits.
    out.positions = {p[4], p[5], -1, p[2], p[3], -1, p[0], p[1], p[0], p[1]};
    return out;
}

} // namespace mrz
