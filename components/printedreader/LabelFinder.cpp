#include "LabelFinder.h"

#include <QStringList>

#include <algorithm>
#include <limits>
#include <map>

namespace printed {

namespace {

QString Join(const std::vector<OcrWord> &words, int first, int last)
{
    QStringList parts;
    for (int i = first; i <= last; ++i)
        parts << words[i].text;
    return parts.join(QLatin1Char(' '));
}

QRect BoxOf(const std::vector<OcrWord> &words, int first, int last)
{
    QRect box;
    for (int i = first; i <= last; ++i)
        box = box.united(words[i].box);
    return box;
}

LabelRole LicenceRole(const QString &number)
{
    static const std::map<QString, LabelRole> roles = {
        {QStringLiteral("1"), LabelRole::Surname},        {QStringLiteral("2"), LabelRole::LicenceNames},
        {QStringLiteral("3"), LabelRole::LicenceBirth},   {QStringLiteral("4a"), LabelRole::IssueDate},
        {QStringLiteral("4b"), LabelRole::ExpiryDate},    {QStringLiteral("4c"), LabelRole::IssuedBy},
        {QStringLiteral("5"), LabelRole::SeriesNumber},   {QStringLiteral("8"), LabelRole::ResidencePlace},
        {QStringLiteral("9"), LabelRole::Categories}};
    const auto it = roles.find(number);
    return it == roles.end() ? LabelRole::Other : it->second;
}

// Candidate labels of one line: every run of up to six words compared with
// every variant; the longest labels claim their words first.
std::vector<LabelHit> LineCandidates(const OcrLine &line, int index, DocumentKind kind)
{
    std::vector<LabelHit> found;
    const auto &words = line.words;
    const int n = int(words.size());
    if (kind == DocumentKind::DrivingLicence) {
        for (int i = 0; i < n; ++i) {
            const QString number = LicenceNumber(words[i].text);
            if (!number.isEmpty() && LicenceRole(number) != LabelRole::Other)
                found.push_back({LicenceRole(number), index, i, i, words[i].box, 0.0});
        }
    }
    struct Candidate
    {
        LabelHit hit;
        int length;
    };
    std::vector<Candidate> candidates;
    for (const LabelText &label : LabelsOf(kind)) {
        for (const QString &variant : label.variants) {
            const int keyLength = int(LabelKey(variant).size());
            const int wordsInVariant = int(variant.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
            for (int i = 0; i < n; ++i) {
                // OCR splits and joins words: a run of about the variant's words.
                for (int j = i; j < n && j < i + wordsInVariant + 2; ++j) {
                    const QString text = Join(words, i, j);
                    if (MatchesLabel(text, variant))
                        candidates.push_back(
                            {{label.role, index, i, j, BoxOf(words, i, j), LabelDistance(text, variant)}, keyLength});
                }
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.length != b.length ? a.length > b.length : a.hit.distance < b.hit.distance;
    });
    std::vector<bool> taken(n, false);
    for (const LabelHit &h : found)
        taken[h.firstWord] = true;
    for (const Candidate &c : candidates) {
        bool free = true;
        for (int i = c.hit.firstWord; i <= c.hit.lastWord; ++i)
            free = free && !taken[i];
        if (!free)
            continue;
        for (int i = c.hit.firstWord; i <= c.hit.lastWord; ++i)
            taken[i] = true;
        found.push_back(c.hit);
    }
    return found;
}

bool HasLetterOrDigit(const QString &s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// A bilingual label found by its English half ("Sex") keeps the misread
// Russian half before it ("Non /"): words of the label's size that follow
// without a gap belong to it, so that its column starts where it does.
void WidenLeft(LabelHit *hit, const OcrLine &line, const std::vector<LabelHit> &hits)
{
    const int h = std::max(4, hit->box.height());
    while (hit->firstWord > 0) {
        const int i = hit->firstWord - 1;
        const OcrWord &w = line.words[i];
        const bool taken = std::any_of(hits.begin(), hits.end(), [&](const LabelHit &o) {
            return &o != hit && o.line == hit->line && i >= o.firstWord && i <= o.lastWord;
        });
        if (taken || hit->box.left() - w.box.right() > h || w.box.height() > 1.3 * h)
            break;
        hit->firstWord = i;
        hit->box = hit->box.united(w.box);
    }
}

bool IsLabelWord(const std::vector<LabelHit> &hits, int line, int word)
{
    for (const LabelHit &h : hits)
        if (h.line == line && word >= h.firstWord && word <= h.lastWord)
            return true;
    return false;
}

// The left edge of the next label to the right of x on the same printed row
// as `box`: a value stops there.
int RightBound(const std::vector<LabelHit> &hits, const QRect &box, int x)
{
    int bound = std::numeric_limits<int>::max();
    for (const LabelHit &h : hits) {
        const bool sameRow = h.box.top() < box.bottom() && h.box.bottom() > box.top();
        if (sameRow && h.box.left() > x)
            bound = std::min(bound, h.box.left());
    }
    return bound;
}

// The label's print size: its lowest word (a word's box grows with its
// letters' descenders, "рождения" against "Место").
int SmallestWordHeight(const OcrLine &line, const LabelHit &hit)
{
    int h = hit.box.height();
    for (int i = hit.firstWord; i <= hit.lastWord; ++i)
        if (HasLetterOrDigit(line.words[i].text))
            h = std::min(h, line.words[i].box.height());
    return std::max(4, h);
}

ValueLine LineOf(std::vector<OcrWord> words)
{
    ValueLine v;
    v.words = std::move(words);
    for (const OcrWord &w : v.words)
        v.box = v.box.united(w.box);
    return v;
}

} // namespace

QString ValueLine::Text() const
{
    QStringList parts;
    for (const OcrWord &w : words)
        parts << w.text;
    return parts.join(QLatin1Char(' '));
}

std::vector<LabelHit> FindLabels(const std::vector<OcrLine> &lines, DocumentKind kind)
{
    std::vector<LabelHit> all;
    for (int i = 0; i < int(lines.size()); ++i) {
        auto found = LineCandidates(lines[i], i, kind);
        all.insert(all.end(), found.begin(), found.end());
    }
    // One label per role: the closest reading, the first in reading order
    // among equals.
    std::map<LabelRole, LabelHit> best;
    std::vector<LabelHit> others;
    for (const LabelHit &h : all) {
        if (h.role == LabelRole::Other) {
            others.push_back(h);
            continue;
        }
        auto it = best.find(h.role);
        if (it == best.end() || h.distance < it->second.distance)
            best[h.role] = h;
    }
    std::vector<LabelHit> out = others;
    for (auto &[role, h] : best) {
        // The English half of a label under its Russian half: part of it.
        const int height = std::max(4, h.box.height());
        for (const LabelHit &c : all) {
            if (c.role != role || c.line <= h.line || h.secondLine >= 0 ||
                std::abs(c.box.left() - h.box.left()) > 2 * height || c.box.top() - h.box.bottom() > 3 * height / 2)
                continue;
            h.secondLine = c.line;
            h.secondLast = c.lastWord;
            LabelHit half = c;
            half.role = LabelRole::Other;
            out.push_back(half);
        }
        out.push_back(h);
    }
    if (kind != DocumentKind::DrivingLicence)
        for (LabelHit &h : out)
            WidenLeft(&h, lines[h.line], out);
    std::sort(out.begin(), out.end(), [](const LabelHit &a, const LabelHit &b) {
        return a.line != b.line ? a.line < b.line : a.firstWord < b.firstWord;
    });
    return out;
}

std::vector<ValueLine> ValueOf(const LabelHit &hit, const std::vector<LabelHit> &hits,
                               const std::vector<OcrLine> &lines, DocumentKind kind, int maxLines)
{
    std::vector<ValueLine> value;
    const bool licence = kind == DocumentKind::DrivingLicence;
    const OcrLine &own = lines[hit.line];
    const int labelHeight = std::max(4, hit.box.height());
    const int rightBound = RightBound(hits, hit.box, hit.box.right());

    // Words that follow each other closely belong to one value; a wide gap
    // starts the next column (the licence spaces the parts of a value widely
    // and bounds them by its numbers instead).
    auto takeRun = [&](int lineIndex, int from, int bound) {
        std::vector<OcrWord> run;
        const auto &words = lines[lineIndex].words;
        for (int i = from; i < int(words.size()); ++i) {
            const OcrWord &w = words[i];
            if (w.box.left() >= bound || IsLabelWord(hits, lineIndex, i))
                break;
            if (!run.empty() && !licence && w.box.left() - run.back().box.right() > 2.5 * run.back().box.height())
                break;
            run.push_back(w);
        }
        return run;
    };

    // Value on the label's line, to its right.
    int columnLeft = hit.box.left();
    int sameLineFirst = hit.lastWord + 1;
    // Punctuation left over from the label ("№", a colon) is no value.
    while (sameLineFirst < int(own.words.size()) && !HasLetterOrDigit(own.words[sameLineFirst].text))
        ++sameLineFirst;
    bool sameLine = false;
    // A value printed right under the label is its value, whatever stands
    // beside the label (in a form of two columns, the other column's value).
    // Only the first thing under the label counts: a label there means the
    // value is not under it.
    bool valueBelow = false;
    bool looked = false;
    for (int li = hit.line + 1; li < int(lines.size()) && !looked; ++li) {
        if (li == hit.secondLine)
            continue;
        const auto &words = lines[li].words;
        for (int i = 0; i < int(words.size()); ++i) {
            const QRect &b = words[i].box;
            if (b.top() <= hit.box.top() || std::abs(b.left() - hit.box.left()) > 2 * labelHeight)
                continue;
            looked = true;
            valueBelow = !IsLabelWord(hits, li, i) && b.top() <= hit.box.bottom() + 3 * labelHeight &&
                         b.height() >= 0.95 * SmallestWordHeight(own, hit);
            break;
        }
    }
    // A value right beside the label is its own even with print under the
    // label (a stamp, a signature's caption).
    const bool closeBeside = sameLineFirst < int(own.words.size()) &&
                             own.words[sameLineFirst].box.left() - hit.box.right() < 4 * SmallestWordHeight(own, hit);
    if ((licence || !valueBelow || closeBeside) && sameLineFirst < int(own.words.size()) &&
        !IsLabelWord(hits, hit.line, sameLineFirst)) {
        const OcrWord &next = own.words[sameLineFirst];
        const int gap = next.box.left() - hit.box.right();
        // A value beside its label is printed larger than it: a smaller word
        // there is another label's part.
        const bool valueSized = next.box.height() >= 0.95 * SmallestWordHeight(own, hit);
        if (next.box.left() < rightBound && (licence || (gap < 30 * labelHeight && valueSized))) {
            sameLine = true;
            auto run = takeRun(hit.line, sameLineFirst, rightBound);
            if (!run.empty()) {
                columnLeft = run.front().box.left();
                value.push_back(LineOf(std::move(run)));
            }
        }
    }

    // Lines below, in the column: the first word starts where the column
    // does (a continuation line of a licence field may start further right).
    QRect previous = value.empty() ? hit.box : value.back().box;
    const int tolerance = 2 * labelHeight;
    for (int li = hit.line + 1; li < int(lines.size()) && int(value.size()) < maxLines; ++li) {
        const OcrLine &line = lines[li];
        if (li == hit.secondLine) {
            // The label's second half: beside it the value's second line
            // (a label left of its value), or under it the value.
            if (sameLine) {
                auto run = takeRun(li, hit.secondLast + 1, rightBound);
                while (!run.empty() && !HasLetterOrDigit(run.front().text))
                    run.erase(run.begin());
                if (!run.empty() && std::abs(run.front().box.left() - columnLeft) <= tolerance) {
                    value.push_back(LineOf(std::move(run)));
                    previous = value.back().box;
                }
            } else {
                previous = line.words[std::min(hit.secondLast, int(line.words.size()) - 1)].box;
            }
            continue;
        }
        int first = -1;
        for (int i = 0; i < int(line.words.size()); ++i) {
            const QRect &b = line.words[i].box;
            const bool starts = licence && sameLine ? b.left() >= hit.box.right() - tolerance && b.left() < rightBound
                                                    : std::abs(b.left() - columnLeft) <= tolerance;
            if (starts) {
                first = i;
                break;
            }
        }
        if (first < 0)
            continue;
        const QRect firstBox = line.words[first].box;
        if (firstBox.top() <= previous.top())
            continue;
        // A label in the column ends the value (the licence: any field
        // number on the line, since its fields follow each other).
        bool labelHere = false;
        for (const LabelHit &h : hits) {
            if (h.line != li)
                continue;
            const bool inColumn =
                licence || (h.box.left() <= columnLeft + tolerance && h.box.right() >= columnLeft - tolerance);
            labelHere = labelHere || inColumn;
        }
        if (labelHere)
            break;
        const int gapLimit = value.empty() ? 3 * labelHeight : std::max(previous.height(), firstBox.height());
        if (firstBox.top() - previous.bottom() > gapLimit)
            break;
        auto run = takeRun(li, first, std::min(rightBound, RightBound(hits, firstBox, firstBox.left())));
        if (run.empty())
            break;
        value.push_back(LineOf(std::move(run)));
        previous = value.back().box;
    }
    return value;
}

namespace {

// A region of the picture to read as one line of a value: none where the
// picture leaves less of it than a label's height either way.
std::vector<ValueLine> RegionLine(const QRect &region, int labelHeight, const QSize &pictureSize)
{
    const QRect box = region.intersected(QRect(QPoint(0, 0), pictureSize));
    if (box.width() < labelHeight || box.height() < labelHeight)
        return {};
    OcrWord w;
    w.box = box;
    return {LineOf({w})};
}

} // namespace

std::vector<ValueLine> PlaceBelow(const LabelHit &hit, const std::vector<LabelHit> &hits, int width,
                                  const QSize &pictureSize)
{
    const int h = std::max(4, hit.box.height());
    const int right = std::min(RightBound(hits, hit.box, hit.box.right()), hit.box.left() + width * h);
    // Values are printed about twice the labels' size.
    return RegionLine(QRect(QPoint(hit.box.left() - h / 2, hit.box.bottom() + h / 4), QPoint(right - h / 2, hit.box.bottom() + 3 * h)),
                      h, pictureSize);
}

std::vector<ValueLine> PlaceBeside(const LabelHit &hit, const std::vector<LabelHit> &hits, int width,
                                   const QSize &pictureSize)
{
    const int h = std::max(4, hit.box.height());
    const int right = std::min(RightBound(hits, hit.box, hit.box.right()), hit.box.right() + width * h);
    return RegionLine(QRect(QPoint(hit.box.right() + h / 2, hit.box.top() - h / 2), QPoint(right - h / 2, hit.box.bottom() + h / 2)),
                      h, pictureSize);
}

} // namespace printed
