#include "DocumentFields.h"

#include "FieldPatterns.h"

#include <QRegularExpression>

#include <cstdlib>

namespace printed {

namespace {

int MaxLines(LabelRole role, DocumentKind kind)
{
    switch (role) {
    case LabelRole::IssuedBy:
    case LabelRole::BirthPlace:
        return kind == DocumentKind::ForeignPassport ? 4 : 3;
    case LabelRole::Surname:
    case LabelRole::GivenName:
    case LabelRole::Nationality:
    case LabelRole::LicenceNames:
    case LabelRole::LicenceBirth:
    case LabelRole::ResidencePlace:
        return kind == DocumentKind::InternalPassport ? 1 : 2;
    default:
        return 1;
    }
}

// How wide a value is at most, in its label's heights, where it must be
// read without its words.
int WidthInLabelHeights(LabelRole role)
{
    switch (role) {
    case LabelRole::Sex:
        return 6;
    case LabelRole::IssueDate:
    case LabelRole::BirthDate:
    case LabelRole::ExpiryDate:
    case LabelRole::DivisionCode:
        return 14;
    default:
        return 30;
    }
}

std::vector<ValueLine> InScript(const std::vector<ValueLine> &lines, Script script)
{
    std::vector<ValueLine> out;
    for (const ValueLine &l : lines) {
        const Script s = ScriptOf(l.Text());
        if (s == script || (script == Script::Cyrillic && s == Script::Digits))
            out.push_back(l);
    }
    return out;
}

// A name's value prints its Cyrillic line first and its Latin line below:
// the order tells them apart better than the letters, which OCR may read
// in the other script.
struct NameLines
{
    std::vector<ValueLine> cyrillic, latin;
};

NameLines NamesOf(const std::vector<ValueLine> &lines)
{
    if (lines.size() >= 2)
        return {{lines[0]}, {lines[1]}};
    if (lines.size() == 1)
        return ScriptOf(lines[0].Text()) == Script::Latin ? NameLines{{}, {lines[0]}} : NameLines{{lines[0]}, {}};
    return {};
}

// A bilingual value's Russian lines: the first always (however OCR read its
// letters), then those up to the first Latin line.
std::vector<ValueLine> RussianLines(const std::vector<ValueLine> &lines)
{
    std::vector<ValueLine> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && ScriptOf(lines[i].Text()) == Script::Latin)
            break;
        out.push_back(lines[i]);
    }
    return out;
}

std::vector<ValueLine> FirstOf(const std::vector<ValueLine> &lines)
{
    return lines.empty() ? std::vector<ValueLine>{} : std::vector<ValueLine>{lines.front()};
}

int DigitCount(const QString &s)
{
    int n = 0;
    for (QChar c : s)
        n += c.isDigit() ? 1 : 0;
    return n;
}

// The leading words of a line that make a date (eight digits).
int DateWords(const ValueLine &line)
{
    int digits = 0;
    for (int i = 0; i < int(line.words.size()); ++i) {
        digits += DigitCount(Normalise(Field::BirthDate, DocumentKind::DrivingLicence, line.words[i].text));
        if (digits >= 8)
            return i + 1;
    }
    return 1;
}

class Assembler
{
public:
    Assembler(tesseract::TessBaseAPI &api, DocumentKind kind, const QSize &size) : api_(api), kind_(kind), size_(size) {}

    void Put(Field f, const std::vector<ValueLine> &lines)
    {
        if (lines.empty() || fields_.count(f))
            return;
        PrintedText t = ReadField(api_, f, kind_, lines, size_);
        if (!t.lines.isEmpty())
            fields_[f] = std::move(t);
    }

    // A number printed as one group of digits split where the document
    // splits it: "99 31 456789" (series "99 31"), "75 1234567" (series "75").
    void PutSeriesNumber(const std::vector<ValueLine> &lines)
    {
        if (lines.empty())
            return;
        const ValueLine &line = lines.front();
        const int seriesDigits = kind_ == DocumentKind::ForeignPassport ? 2 : 4;
        int digits = 0, split = -1;
        for (int i = 0; i < int(line.words.size()); ++i) {
            digits += DigitCount(Normalise(Field::Number, kind_, line.words[i].text));
            if (digits == seriesDigits) {
                split = i;
                break;
            }
            if (digits > seriesDigits)
                break;
        }
        if (split >= 0) {
            Put(Field::Series, {Part(line, 0, split)});
            Put(Field::Number, {Part(line, split + 1, int(line.words.size()) - 1)});
            return;
        }
        // The groups run together: the whole line is read and cut.
        PrintedText all = ReadField(api_, Field::Number, kind_, lines, size_);
        QString d = all.Value();
        d.remove(QLatin1Char(' '));
        const int numberDigits = kind_ == DocumentKind::ForeignPassport ? 7 : 6;
        if (d.size() != seriesDigits + numberDigits)
            return;
        PrintedText series = all, number = all;
        series.lines = QStringList{seriesDigits == 4 ? d.left(2) + u' ' + d.mid(2, 2) : d.left(2)};
        number.lines = QStringList{d.mid(seriesDigits)};
        const float low = all.confidence.empty() ? 0.0f : *std::min_element(all.confidence.begin(), all.confidence.end());
        series.confidence.assign(series.Value().size(), low);
        number.confidence.assign(number.Value().size(), low);
        series.doubtful = all.doubtful || !MatchesPattern(Field::Series, kind_, series.Value());
        number.doubtful = all.doubtful || !MatchesPattern(Field::Number, kind_, number.Value());
        fields_[Field::Series] = series;
        fields_[Field::Number] = number;
    }

    void PutText(Field f, PrintedText t)
    {
        if (!fields_.count(f))
            fields_[f] = std::move(t);
    }

    std::map<Field, PrintedText> Take() { return std::move(fields_); }

private:
    tesseract::TessBaseAPI &api_;
    DocumentKind kind_;
    QSize size_;
    std::map<Field, PrintedText> fields_;
};

void InternalPassport(Assembler &a, LabelRole role, const std::vector<ValueLine> &v)
{
    static const std::map<LabelRole, Field> single = {
        {LabelRole::IssueDate, Field::IssueDate},   {LabelRole::DivisionCode, Field::DivisionCode},
        {LabelRole::Surname, Field::Surname},       {LabelRole::GivenName, Field::GivenName},
        {LabelRole::Patronymic, Field::Patronymic}, {LabelRole::Sex, Field::Sex},
        {LabelRole::BirthDate, Field::BirthDate}};
    if (role == LabelRole::IssuedBy)
        a.Put(Field::IssuedBy, v);
    else if (role == LabelRole::BirthPlace)
        a.Put(Field::BirthPlace, v);
    else if (single.count(role))
        a.Put(single.at(role), FirstOf(v));
}

void ForeignPassport(Assembler &a, LabelRole role, const std::vector<ValueLine> &v)
{
    const auto cyr = InScript(v, Script::Cyrillic);
    const NameLines names = NamesOf(v);
    switch (role) {
    case LabelRole::Surname:
        a.Put(Field::Surname, names.cyrillic);
        a.Put(Field::SurnameLatin, names.latin);
        break;
    case LabelRole::GivenName:
        a.Put(Field::GivenName, names.cyrillic);
        a.Put(Field::GivenNameLatin, names.latin);
        break;
    case LabelRole::Nationality:
        a.Put(Field::Nationality, FirstOf(cyr));
        break;
    case LabelRole::BirthDate:
        a.Put(Field::BirthDate, FirstOf(v));
        break;
    case LabelRole::IssueDate:
        a.Put(Field::IssueDate, FirstOf(v));
        break;
    case LabelRole::ExpiryDate:
        a.Put(Field::ExpiryDate, FirstOf(v));
        break;
    case LabelRole::Sex:
        // "М/M": the Cyrillic letter is the field.
        if (!v.empty())
            a.Put(Field::Sex, {Part(v.front(), 0, 0)});
        break;
    case LabelRole::BirthPlace:
        a.Put(Field::BirthPlace, RussianLines(v));
        break;
    case LabelRole::IssuedBy:
        a.Put(Field::IssuedBy, cyr);
        break;
    case LabelRole::PassportNumber:
        a.PutSeriesNumber(FirstOf(v));
        break;
    default:
        break;
    }
}

void DrivingLicence(Assembler &a, LabelRole role, const std::vector<ValueLine> &v)
{
    const auto cyr = InScript(v, Script::Cyrillic);
    const NameLines names = NamesOf(v);
    switch (role) {
    case LabelRole::Surname:
        a.Put(Field::Surname, names.cyrillic);
        a.Put(Field::SurnameLatin, names.latin);
        break;
    case LabelRole::LicenceNames:
        if (!names.cyrillic.empty()) {
            const ValueLine &l = names.cyrillic.front();
            a.Put(Field::GivenName, {Part(l, 0, 0)});
            if (l.words.size() > 1)
                a.Put(Field::Patronymic, {Part(l, 1, int(l.words.size()) - 1)});
        }
        a.Put(Field::GivenNameLatin, names.latin);
        break;
    case LabelRole::LicenceBirth:
        if (!v.empty()) {
            const ValueLine &l = v.front();
            const int dateWords = DateWords(l);
            a.Put(Field::BirthDate, {Part(l, 0, dateWords - 1)});
            // The line below is the place in Latin letters.
            if (dateWords < int(l.words.size()))
                a.Put(Field::BirthPlace, {Part(l, dateWords, int(l.words.size()) - 1)});
        }
        break;
    case LabelRole::IssueDate:
        if (!v.empty())
            a.Put(Field::IssueDate, {Part(v.front(), 0, DateWords(v.front()) - 1)});
        break;
    case LabelRole::ExpiryDate:
        if (!v.empty())
            a.Put(Field::ExpiryDate, {Part(v.front(), 0, DateWords(v.front()) - 1)});
        break;
    case LabelRole::IssuedBy:
        // Its Latin line below, or the next field's when its number is lost.
        a.Put(Field::IssuedBy, names.cyrillic);
        break;
    case LabelRole::SeriesNumber:
        a.PutSeriesNumber(FirstOf(v));
        break;
    case LabelRole::ResidencePlace:
        a.Put(Field::ResidencePlace, names.cyrillic);
        break;
    case LabelRole::Categories:
        a.Put(Field::Categories, FirstOf(v));
        break;
    default:
        break;
    }
}

} // namespace

std::vector<ValueLine> FindSeriesNumber(const std::vector<OcrLine> &lines)
{
    // Two pairs of digits and six digits, however OCR spaced them.
    static const QRegularExpression pattern(QStringLiteral("(?<!\\d)\\d{2} ?\\d{2} ?\\d{6}(?!\\d)"));
    for (const OcrLine &line : lines) {
        for (int i = 0; i < int(line.words.size()); ++i) {
            QString text;
            for (int j = i; j < int(line.words.size()) && j < i + 3; ++j) {
                text += (j > i ? QStringLiteral(" ") : QString()) + line.words[j].text;
                const QString digits = Normalise(Field::Number, DocumentKind::InternalPassport, text);
                if (digits.size() <= 12 && pattern.match(digits).hasMatch() && DigitCount(digits) == 10) {
                    ValueLine v;
                    for (int k = i; k <= j; ++k) {
                        v.words.push_back(line.words[k]);
                        v.box = v.box.united(line.words[k].box);
                    }
                    return {v};
                }
            }
        }
    }
    return {};
}

std::map<Field, PrintedText> ReadDocumentFields(tesseract::TessBaseAPI &api, DocumentKind kind,
                                                const std::vector<OcrLine> &lines, const std::vector<LabelHit> &hits,
                                                const QSize &pictureSize)
{
    Assembler a(api, kind, pictureSize);
    for (const LabelHit &hit : hits) {
        if (hit.role == LabelRole::Other)
            continue;
        auto value = ValueOf(hit, hits, lines, kind, MaxLines(hit.role, kind));
        // The sex, a letter or two, is the value the engine drops most: its
        // place under the label and beside it are read with its alphabet.
        if (value.empty() && hit.role == LabelRole::Sex) {
            // Found by its English half ("Sex"), the label's Russian half
            // misread on the line above may have the value beside it.
            LabelHit above = hit;
            for (int li = hit.line - 1; li >= 0 && li >= hit.line - 2; --li) {
                const auto &words = lines[li].words;
                if (!words.empty() && std::abs(words.front().box.left() - hit.box.left()) <= 2 * hit.box.height() &&
                    hit.box.top() - words.front().box.bottom() <= 2 * hit.box.height()) {
                    above.line = li;
                    above.box = words.front().box;
                    break;
                }
            }
            for (const auto &place : {PlaceBelow(hit, hits, WidthInLabelHeights(hit.role), pictureSize),
                                      PlaceBeside(hit, hits, 25, pictureSize), PlaceBeside(above, hits, 25, pictureSize)}) {
                if (place.empty())
                    continue;
                PrintedText t = ReadField(api, Field::Sex, kind, place, pictureSize);
                if (MatchesPattern(Field::Sex, kind, t.Value())) {
                    a.PutText(Field::Sex, std::move(t));
                    break;
                }
            }
            continue;
        }
        // Nothing read where the label points (a short value such as the
        // sex is dropped as noise): the place is read with the field's alphabet.
        if (value.empty() && kind != DocumentKind::DrivingLicence)
            value = PlaceBelow(hit, hits, WidthInLabelHeights(hit.role), pictureSize);
        if (value.empty())
            continue;
        switch (kind) {
        case DocumentKind::InternalPassport:
            InternalPassport(a, hit.role, value);
            break;
        case DocumentKind::ForeignPassport:
            ForeignPassport(a, hit.role, value);
            break;
        case DocumentKind::DrivingLicence:
            DrivingLicence(a, hit.role, value);
            break;
        }
    }
    if (kind == DocumentKind::InternalPassport)
        a.PutSeriesNumber(FindSeriesNumber(lines));
    return a.Take();
}

} // namespace printed
