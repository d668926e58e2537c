#include "ZoneDecoder.h"

#include "FormatChoice.h"

#include <algorithm>
#include <set>

namespace mrz {

namespace {

struct Choice
{
    int position;
    char ch;
    float cost; // loss of score against the position's best admitted character
};

char BestAdmitted(const Scores &s, CharClass c, float *score, float *runnerUp)
{
    char best = '<';
    float b1 = -2.f, b2 = -2.f;
    for (int k = 0; k < kAlphabetSize; ++k) {
        const char ch = kAlphabet[size_t(k)];
        if (!Admits(c, ch))
            continue;
        const float v = s[size_t(k)];
        if (v > b1) {
            b2 = b1;
            b1 = v;
            best = ch;
        } else if (v > b2) {
            b2 = v;
        }
    }
    *score = b1;
    *runnerUp = b2;
    return best;
}

float Confidence(float best, float runnerUp)
{
    // A clear lead over the runner-up and a glyph that looks like its template.
    const float margin = std::clamp((best - runnerUp) / 0.12f, 0.f, 1.f);
    const float likeness = std::clamp((best - 0.45f) / 0.3f, 0.f, 1.f);
    return margin * likeness;
}

std::vector<int> Positions(const CheckRule &r)
{
    std::vector<int> out;
    for (const Span &s : r.covered)
        for (int i = s.start; i < s.start + s.length; ++i)
            out.push_back(i);
    out.push_back(r.digit);
    return out;
}

// Where the check digit of the document number lies in this text. A filler
// put into a long number, or taken out after it, would move it: the number
// would end elsewhere, and the checks reported would no longer be those of
// the text read.
int NumberDigit(Format f, const QString &text)
{
    for (const CheckRule &r : RulesFor(f, text).checks)
        if (std::string_view(r.name) == "documentNumber")
            return r.digit;
    return -1;
}

// Tries the cheapest single and then double replacements that make the check
// hold and leave the document number where it is.
bool Repair(Format f, const CheckRule &rule, const std::vector<int> &positions, const Rules &rules,
            const std::vector<Scores> &scores, QString &text, std::vector<bool> &replaced)
{
    const int numberDigit = NumberDigit(f, text);
    auto holds = [&] { return CheckHolds(rule, text) && NumberDigit(f, text) == numberDigit; };
    constexpr float kMaxSingle = 0.2f, kMaxDouble = 0.3f;
    std::vector<Choice> choices;
    for (int p : positions) {
        const Scores &s = scores[size_t(p)];
        const float current = s[size_t(AlphabetIndex(text.at(p)))];
        std::vector<Choice> here;
        for (int k = 0; k < kAlphabetSize; ++k) {
            const char ch = kAlphabet[size_t(k)];
            if (ch == text.at(p).toLatin1() || !Admits(rules.classes[size_t(p)], ch))
                continue;
            here.push_back({p, ch, current - s[size_t(k)]});
        }
        std::sort(here.begin(), here.end(), [](const Choice &a, const Choice &b) { return a.cost < b.cost; });
        for (size_t i = 0; i < here.size() && i < 3; ++i)
            if (here[i].cost < kMaxSingle)
                choices.push_back(here[i]);
    }
    std::sort(choices.begin(), choices.end(), [](const Choice &a, const Choice &b) { return a.cost < b.cost; });
    auto apply = [&](const Choice &c) {
        const QChar old = text.at(c.position);
        text[c.position] = QLatin1Char(c.ch);
        return old;
    };
    for (const Choice &c : choices) {
        const QChar old = apply(c);
        if (holds()) {
            replaced[size_t(c.position)] = true;
            return true;
        }
        text[c.position] = old;
    }
    const size_t limit = std::min<size_t>(choices.size(), 12);
    struct Pair
    {
        size_t a, b;
        float cost;
    };
    std::vector<Pair> pairs;
    for (size_t i = 0; i < limit; ++i)
        for (size_t j = i + 1; j < limit; ++j)
            if (choices[i].position != choices[j].position && choices[i].cost + choices[j].cost < kMaxDouble)
                pairs.push_back({i, j, choices[i].cost + choices[j].cost});
    std::sort(pairs.begin(), pairs.end(), [](const Pair &a, const Pair &b) { return a.cost < b.cost; });
    for (const Pair &pr : pairs) {
        const QChar oldA = apply(choices[pr.a]);
        const QChar oldB = apply(choices[pr.b]);
        if (holds()) {
            replaced[size_t(choices[pr.a].position)] = true;
            replaced[size_t(choices[pr.b].position)] = true;
            return true;
        }
        text[choices[pr.b].position] = oldB;
        text[choices[pr.a].position] = oldA;
    }
    return false;
}

// The glyph is clearly a character its position does not admit (a digit where
// only letters go): a zone has almost none, text that merely looks like one many.
bool Misfit(const Scores &s, float admittedBest)
{
    const float any = *std::max_element(s.begin(), s.end());
    return any - admittedBest > 0.12f && any > 0.5f;
}

} // namespace

DecodedZone DecodeZone(Format f, const std::vector<Scores> &scores)
{
    DecodedZone out;
    f = FormatOfZone(f, scores);
    out.format = f;
    const Rules base = RulesFor(f);
    const size_t n = base.classes.size();
    if (scores.size() != n)
        return out;
    std::vector<float> best(n), runnerUp(n);
    out.text.resize(qsizetype(n));
    for (size_t i = 0; i < n; ++i) {
        out.text[qsizetype(i)] = QLatin1Char(BestAdmitted(scores[i], base.classes[i], &best[i], &runnerUp[i]));
        out.misfits += Misfit(scores[i], best[i]) ? 1 : 0;
    }

    // The text decides where a long TD1 number ends, so the rules follow it.
    const Rules rules = RulesFor(f, out.text);
    std::vector<bool> replaced(n, false);
    std::set<int> protectedByField;
    std::vector<bool> failing(n, false);
    for (const CheckRule &r : rules.checks) {
        const bool composite = std::string_view(r.name) == "composite";
        std::vector<int> positions = Positions(r);
        if (composite) {
            // Characters a field check already confirms stay as they are.
            std::erase_if(positions, [&](int p) { return protectedByField.count(p) > 0; });
        }
        bool valid = CheckHolds(r, out.text) || Repair(f, r, positions, rules, scores, out.text, replaced);
        if (valid && !composite)
            for (int p : Positions(r))
                protectedByField.insert(p);
        // A failing composite check doubts only what no field check confirms.
        if (!valid)
            for (int p : Positions(r))
                if (!composite || protectedByField.count(p) == 0)
                    failing[size_t(p)] = true;
        out.checks.push_back({QString::fromLatin1(r.name), valid});
    }

    out.checkFailed = failing;
    out.confidence.resize(n);
    out.trusted.resize(n);
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        const float chosen = scores[i][size_t(AlphabetIndex(out.text.at(qsizetype(i))))];
        sum += chosen;
        // A character the check digit chose over the look of the glyph is a guess.
        out.confidence[i] = replaced[i] ? 0.f : Confidence(best[i], runnerUp[i]);
        // A glyph only faintly like the character chosen for it is no reading
        // to trust, whatever a check digit repaired around it says.
        out.trusted[i] = out.confidence[i] >= kTrustThreshold && !failing[i] && chosen >= kWeakLikeness;
    }
    out.meanScore = n ? sum / double(n) : 0;
    // Print in another typeface (a forgery, a poor copy) matches OCR-B only
    // loosely throughout; its check digits may still be made to hold, but
    // nothing of it is taken as read.
    out.weakLikeness = out.meanScore < kMinZoneLikeness;
    if (out.weakLikeness)
        std::fill(out.trusted.begin(), out.trusted.end(), false);
    out.repairs = int(std::count(replaced.begin(), replaced.end(), true));
    out.datesValid = true;
    for (const CheckRule &r : rules.checks) {
        const std::string_view name(r.name);
        const bool birth = name == "birthDate";
        if ((!birth && name != "expiryDate") || r.covered.empty())
            continue;
        const Span s = r.covered.front();
        // A date the layout lets stay out (all fillers) is no date to check.
        if (r.fillerAllowed && QStringView(out.text).mid(s.start, s.length).count(QLatin1Char('<')) == s.length)
            continue;
        const DateState state = StateOfDate(QStringView(out.text).mid(s.start, s.length), birth);
        out.datesValid = out.datesValid && state != DateState::Invalid;
        // A date of birth printed with unknown parts holds its check digit, but
        // it is no date to take as read.
        if (state == DateState::PartlyUnknown) {
            out.birthDateUnknown = true;
            for (int i = s.start; i < s.start + s.length; ++i)
                out.trusted[size_t(i)] = false;
        }
    }
    out.plausible = out.datesValid && out.repairs <= kMaxRepairs && out.misfits <= kMaxMisfits;
    return out;
}

} // namespace mrz
