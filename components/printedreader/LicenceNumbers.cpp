#include "LicenceNumbers.h"

#include "FieldPatterns.h"
#include "Labels.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

namespace printed {

namespace {

const QString kNumberAlphabet = QStringLiteral("12345689abc.)");

bool HasNumber(const OcrLine &line)
{
    return std::any_of(line.words.begin(), line.words.end(),
                       [](const OcrWord &w) { return !LicenceNumber(w.text).isEmpty(); });
}

// How LicenceNumber reads it back: "4b)" for field 4, "1." for the others.
QString Spelled(const QString &number)
{
    return number.size() > 1 ? number + QLatin1Char(')') : number + QLatin1Char('.');
}

// Where a number must stand, its small dot may be lost: a bare digit is one.
QString ReadNumber(tesseract::TessBaseAPI &api, const QRect &region, bool whereNumbersStand)
{
    RegionReading r = ReadRegion(api, region, kNumberAlphabet, RegionShape::Word);
    // A lone thin "1." is too small a word for the engine; as a line of
    // text it is read.
    if (r.text.trimmed().isEmpty())
        r = ReadRegion(api, region, kNumberAlphabet, RegionShape::Line);
    QString text = r.text.simplified().remove(QLatin1Char(' '));
    if (whereNumbersStand && text.size() == 1 && text[0].isDigit())
        text += QLatin1Char('.');
    return LicenceNumber(text);
}

// The number read together with the start of its value, for a lone "1."
// the engine takes for a speck: the value's letters give the line its size.
QString ReadWithValue(tesseract::TessBaseAPI &api, const QRect &region)
{
    static const QRegularExpression number(QStringLiteral("^([1-9][abc]?[.)])"));
    const RegionReading r = ReadRegion(api, region, QString());
    const QRegularExpressionMatch m = number.match(r.text.trimmed());
    return m.hasMatch() ? LicenceNumber(m.captured(1)) : QString();
}

bool IsLatinName(const OcrLine &line)
{
    const QString text = line.Text();
    const QString categories = Normalise(Field::Categories, DocumentKind::DrivingLicence, text);
    return ScriptOf(text) == Script::Latin && !MatchesPattern(Field::Categories, DocumentKind::DrivingLicence, categories);
}

bool IsTitle(const OcrLine &line)
{
    for (const LabelText &label : LabelsOf(DocumentKind::DrivingLicence))
        for (const QString &variant : label.variants)
            if (LabelDistance(line.Text(), variant) < 0.5)
                return true;
    return false;
}

// Numbers stand in one column left of the values: one read far from the
// others' column is something else (a letter of the title, a mark).
void KeepColumn(std::vector<OcrLine> *lines)
{
    std::vector<int> lefts;
    for (const OcrLine &l : *lines)
        if (!l.words.empty() && !LicenceNumber(l.words.front().text).isEmpty())
            lefts.push_back(l.words.front().box.left());
    if (lefts.size() < 3)
        return;
    std::nth_element(lefts.begin(), lefts.begin() + lefts.size() / 2, lefts.end());
    const int column = lefts[lefts.size() / 2];
    for (OcrLine &l : *lines) {
        if (l.words.empty() || LicenceNumber(l.words.front().text).isEmpty())
            continue;
        OcrWord &w = l.words.front();
        if (std::abs(w.box.left() - column) > 3 * std::max(8, l.box.height()))
            w.text = QStringLiteral("?") + w.text;
    }
}

// Whether something is printed left of the line's first word, where its
// number would stand (a value's second line has nothing there).
bool InkBefore(const QImage &grey, const OcrLine &line)
{
    const QRect first = line.words.front().box;
    const int h = std::max(8, first.height());
    const QRect region =
        QRect(QPoint(first.left() - 3 * h, first.top()), QPoint(first.left() - h / 3, first.bottom())).intersected(grey.rect());
    if (region.isEmpty() || grey.format() != QImage::Format_Grayscale8)
        return false;
    int dark = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = region.left(); x <= region.right(); ++x)
            dark += row[x] < 110 ? 1 : 0;
    }
    return dark >= h * h / 25;
}

// The numbers follow each other down the column (1, 2, 3, 4a, 4c, 5, 8, 9):
// one that repeats or goes back is misread ("3." for "5."), and is the
// next number the column has not shown yet.
void InSequence(std::vector<OcrLine> *lines, const QImage &grey)
{
    static const QStringList order = {QStringLiteral("1"),  QStringLiteral("2"),  QStringLiteral("3"),
                                      QStringLiteral("4a"), QStringLiteral("4c"), QStringLiteral("5"),
                                      QStringLiteral("8"),  QStringLiteral("9")};
    auto spelled = [](const QString &n) { return n.size() > 1 ? n + QLatin1Char(')') : n + QLatin1Char('.'); };
    // The values' column: where the word after a number starts.
    std::vector<int> starts;
    for (const OcrLine &l : *lines)
        if (l.words.size() > 1 && order.contains(LicenceNumber(l.words.front().text)))
            starts.push_back(l.words[1].box.left());
    if (starts.size() < 2)
        return;
    std::nth_element(starts.begin(), starts.begin() + starts.size() / 2, starts.end());
    const int column = starts[starts.size() / 2];
    // Numbered lines and the lines of the column that lost their number,
    // top to bottom (Latin lines under a value have none).
    struct Entry
    {
        OcrLine *line;
        int at; ///< index in order, -1 for a line without a number
    };
    std::vector<Entry> entries;
    for (OcrLine &l : *lines) {
        if (l.words.empty())
            continue;
        const int at = int(order.indexOf(LicenceNumber(l.words.front().text)));
        const bool inColumn = std::abs(l.words.front().box.left() - column) <= std::max(8, l.box.height());
        if (at >= 0 || (inColumn && !IsLatinName(l) && !IsTitle(l) && InkBefore(grey, l)))
            entries.push_back({&l, at});
    }
    int last = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        Entry &e = entries[i];
        if (e.at > last) {
            last = e.at;
            continue;
        }
        // Misread (repeats or goes back) or lost: the next number that the
        // column does not show further down, when there is room for it.
        int next = last + 1;
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j].at == next)
                ++next;
        int below = int(order.size());
        for (size_t j = i + 1; j < entries.size() && below == int(order.size()); ++j)
            if (entries[j].at > last)
                below = entries[j].at;
        if (next >= int(order.size()) || (e.at < 0 && next >= below))
            continue;
        OcrWord w;
        w.text = spelled(order[next]);
        if (e.at >= 0) {
            e.line->words.front().text = w.text;
        } else {
            const QRect first = e.line->words.front().box;
            w.box = QRect(first.left() - 2 * first.height(), first.top(), first.height(), first.height());
            w.confidence.assign(w.text.size(), 0.5f);
            e.line->words.insert(e.line->words.begin(), w);
        }
        last = next;
    }
}

// "4)" whose letter is lost: the field 4 left on its line is a, the one
// right of it b, one on a line of its own c.
void LetterFieldFour(std::vector<OcrLine> *lines)
{
    static const QRegularExpression bare(QStringLiteral("^4[^0-9A-Za-zА-Яа-я]{1,2}$"));
    for (OcrLine &line : *lines) {
        std::vector<OcrWord *> fours;
        for (OcrWord &w : line.words)
            if (bare.match(w.text).hasMatch() || LicenceNumber(w.text).startsWith(QLatin1Char('4')))
                fours.push_back(&w);
        for (size_t i = 0; i < fours.size(); ++i) {
            if (!LicenceNumber(fours[i]->text).isEmpty())
                continue;
            const char *letter = fours.size() == 1 ? "c" : i == 0 ? "a" : "b";
            fours[i]->text = QStringLiteral("4%1)").arg(QLatin1String(letter));
        }
    }
}

} // namespace

void RestoreLicenceNumbers(tesseract::TessBaseAPI &api, std::vector<OcrLine> *lines, const QImage &grey)
{
    // Only on a licence: its title or some of its numbers read as they are.
    // Elsewhere a speck left of a line would be read as a number.
    const int numbers = int(std::count_if(lines->begin(), lines->end(), HasNumber));
    const bool titled = std::any_of(lines->begin(), lines->end(), IsTitle);
    if (numbers < 2 && !titled)
        return;
    const QRect picture = grey.rect();
    for (OcrLine &line : *lines) {
        if (line.words.empty())
            continue;
        const int h = std::max(8, line.box.height());
        // A short word that starts with a digit between two values ("4b)"
        // read as "4»)").
        for (OcrWord &w : line.words) {
            if (w.text.size() > 4 || w.text.isEmpty() || !w.text[0].isDigit() || !LicenceNumber(w.text).isEmpty())
                continue;
            if (w.text.size() == 1 && w.box.width() > w.box.height())
                continue;
            const QRect region = w.box.adjusted(-h / 4, -h / 4, h / 4, h / 4).intersected(picture);
            const QString number = ReadNumber(api, region, false);
            if (!number.isEmpty())
                w.text = Spelled(number);
        }
        if (HasNumber(line))
            continue;
        // A bare digit before a value, its dot lost.
        const QString head = line.words.front().text;
        if (line.words.size() > 1 && head.size() == 1 && head[0].isDigit() && head[0] != u'4' && head[0] != u'0') {
            line.words.front().text = head + QLatin1Char('.');
            continue;
        }
        // The Latin lines under a name or a place have no number (the
        // categories, Latin too, have one).
        if (line.words.front().box.left() < h || IsTitle(line) || IsLatinName(line))
            continue;
        // The number left of the value, where it was not seen at all.
        const QRect first = line.words.front().box;
        const QRect region = QRect(QPoint(first.left() - 7 * h / 2, line.box.top() - h / 4),
                                   QPoint(first.left() - 2, line.box.bottom() + h / 4))
                                 .intersected(picture);
        if (region.width() < h)
            continue;
        QString number = ReadNumber(api, region, true);
        if (number.isEmpty())
            number = ReadWithValue(api, region.united(first.adjusted(0, 0, -std::max(0, first.width() - h), 0)));
        if (number.isEmpty())
            continue;
        OcrWord w;
        w.text = Spelled(number);
        w.box = QRect(region.right() - h, line.box.top(), h, line.box.height());
        w.confidence.assign(w.text.size(), 1.0f);
        line.words.insert(line.words.begin(), w);
        line.box = line.box.united(w.box);
    }
    LetterFieldFour(lines);
    KeepColumn(lines);
    InSequence(lines, grey);
}

} // namespace printed
