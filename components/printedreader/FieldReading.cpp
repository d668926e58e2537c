#include "FieldReading.h"

#include "FieldPatterns.h"

#include <algorithm>

namespace printed {

namespace {

struct LineReading
{
    QString text;
    std::vector<float> confidence;
    bool matches = false;
};

std::vector<float> ConfidenceOf(const ValueLine &line)
{
    std::vector<float> c;
    for (const OcrWord &w : line.words) {
        if (!c.empty())
            c.push_back(1.0f);
        c.insert(c.end(), w.confidence.begin(), w.confidence.end());
    }
    return c;
}

// The normalised text keeps the confidence of the reading where its length
// is the same; otherwise every character gets the reading's lowest.
std::vector<float> Aligned(const std::vector<float> &confidence, int length)
{
    if (int(confidence.size()) == length)
        return confidence;
    const float low = confidence.empty() ? 0.0f : *std::min_element(confidence.begin(), confidence.end());
    return std::vector<float>(std::max(0, length), low);
}

float Mean(const std::vector<float> &v)
{
    float sum = 0;
    for (float x : v)
        sum += x;
    return v.empty() ? 0.0f : sum / v.size();
}

QString Letters(QString text)
{
    return text.remove(QLatin1Char(' '));
}

bool IsFreeText(Field f)
{
    return f == Field::BirthPlace || f == Field::IssuedBy || f == Field::ResidencePlace;
}

// Multi-line values are checked as a whole; one line alone may be any part.
bool LineMatches(Field f, DocumentKind kind, const QString &value, bool alone)
{
    if (!alone && IsFreeText(f))
        return !value.isEmpty();
    return MatchesPattern(f, kind, value);
}

} // namespace

ValueLine Part(const ValueLine &line, int first, int last)
{
    ValueLine part;
    for (int i = std::max(0, first); i <= last && i < int(line.words.size()); ++i) {
        part.words.push_back(line.words[i]);
        part.box = part.box.united(line.words[i].box);
    }
    return part;
}

PrintedText ReadField(tesseract::TessBaseAPI &api, Field field, DocumentKind kind, const std::vector<ValueLine> &lines,
                      const QSize &pictureSize)
{
    PrintedText out;
    bool allMatch = true;
    bool disagree = false;
    for (const ValueLine &line : lines) {
        if (line.words.empty())
            continue;
        const QString firstText = line.Text();
        const Script script = ScriptFor(field, firstText);
        LineReading first{Normalise(field, kind, firstText, script), {}, false};
        first.confidence = Aligned(ConfidenceOf(line), int(first.text.size()));
        first.matches = LineMatches(field, kind, first.text, lines.size() == 1);

        // Read again with the field's alphabet, from the box with a margin
        // of about half the line's height.
        const int margin = std::max(2, line.box.height() / 2);
        const QRect region = line.box.adjusted(-margin, -margin / 2, margin, margin / 2)
                                 .intersected(QRect(QPoint(0, 0), pictureSize));
        // Every line is read twice: free text, which no pattern checks, is
        // trusted only where both readings agree (the engine is sure of a
        // misread letter as often as of a right one).
        LineReading again;
        if (!region.isEmpty()) {
            const RegionReading r = ReadRegion(api, region, AlphabetOf(field, kind, script));
            again.text = Normalise(field, kind, r.text, script);
            again.confidence = Aligned(r.confidence, int(again.text.size()));
            again.matches = LineMatches(field, kind, again.text, lines.size() == 1);
        }
        // The reading that holds the pattern; of two that do, the surer.
        // A first reading in the other script ("BOPOBbEBA") has the
        // confidence of that script's letters: the field's alphabet decides.
        // Digits the page's reading got right stay (the alphabet alone
        // does not make the engine surer of a 3 or a 5).
        const bool firstMapped = first.text != firstText.simplified();
        bool takeAgain;
        if (again.matches != first.matches)
            takeAgain = again.matches;
        else if (first.text.isEmpty() || again.text.isEmpty())
            takeAgain = first.text.isEmpty();
        else if (ScriptFor(field, firstText) == Script::Digits)
            takeAgain = !first.matches && Mean(again.confidence) > Mean(first.confidence);
        else if (firstMapped && ScriptFor(field, firstText) != ScriptOf(firstText))
            takeAgain = true;
        else if (IsFreeText(field))
            // The page's reading keeps the blanks between words, which a
            // line read alone may lose.
            takeAgain = false;
        else
            takeAgain = Mean(again.confidence) > Mean(first.confidence);
        const LineReading &chosen = takeAgain ? again : first;
        if (chosen.text.isEmpty())
            continue;
        allMatch = allMatch && chosen.matches;
        // Two readings that both hold the pattern but differ: either may be
        // the print. Free text is compared without its blanks, which a line
        // read alone may lose.
        if (IsFreeText(field))
            disagree = disagree || Letters(first.text) != Letters(again.text);
        else
            disagree = disagree || (first.matches && again.matches && first.text != again.text);
        if (!out.lines.isEmpty())
            out.confidence.push_back(1.0f);
        out.lines << chosen.text;
        out.confidence.insert(out.confidence.end(), chosen.confidence.begin(), chosen.confidence.end());
        out.box = out.box.united(line.box);
    }
    const QString value = out.Value();
    const bool patternHolds = allMatch && MatchesPattern(field, kind, value);
    const bool confident = std::all_of(out.confidence.begin(), out.confidence.end(),
                                       [](float c) { return c >= kDoubtfulConfidence; });
    out.doubtful = !patternHolds || !confident || disagree;
    return out;
}

} // namespace printed
