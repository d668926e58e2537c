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

// What a character adds to a check digit, which sees it only modulo 10.
int CheckValue(char ch)
{
    return ch == '<' ? 0 : AlphabetIndex(QLatin1Char(ch)) % 10;
}

// The glyph's lead over the likeliest other character its position admits
// that no check digit can tell from it (K for the filler, U for A).
float LeadOverBlindRival(const Scores &s, CharClass c, char chosen)
{
    float rival = -2.f;
    for (int k = 0; k < kAlphabetSize; ++k) {
        const char ch = kAlphabet[size_t(k)];
        if (ch != chosen && Admits(c, ch) && CheckValue(ch) == CheckValue(chosen))
            rival = std::max(rival, s[size_t(k)]);
    }
    return Confidence(s[size_t(AlphabetIndex(QLatin1Char(chosen)))], rival);
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

enum class Repaired {
    No,     ///< nothing the doubtful characters admit makes the check hold
    Unique, ///< exactly one replacement of one doubtful character makes it hold
    Guess,  ///< the cheapest of several replacements, or of two characters: the check confirms nothing
};

// Tries the cheapest single and then double replacements that make the check
// hold and leave the document number where it is. Among a few doubtful
// characters some pair of replacements nearly always makes a check digit
// hold, and so may two different single ones: only a single replacement that
// no other single one matches lets the check confirm the characters.
Repaired Repair(Format f, const CheckRule &rule, const std::vector<int> &positions, const Rules &rules,
            const std::vector<Scores> &scores, const std::vector<float> &readConfidence, QString &text,
            std::vector<bool> &replaced)
{
    const int numberDigit = NumberDigit(f, text);
    auto holds = [&] { return CheckHolds(rule, text) && NumberDigit(f, text) == numberDigit; };
    constexpr float kMaxSingle = 0.2f, kMaxDouble = 0.3f;
    std::vector<Choice> choices;
    for (int p : positions) {
        // A character read with confidence is what the page prints: a check
        // digit that fails over it fails, it is not rewritten to hold.
        if (readConfidence[size_t(p)] >= kTrustThreshold)
            continue;
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
    const Choice *found = nullptr;
    bool another = false;
    for (const Choice &c : choices) {
        const QChar old = apply(c);
        const bool h = holds();
        text[c.position] = old;
        if (h && !found)
            found = &c;
        else if (h && (c.position != found->position || c.ch != found->ch))
            another = true;
    }
    if (found) {
        apply(*found);
        replaced[size_t(found->position)] = true;
        return another ? Repaired::Guess : Repaired::Unique;
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
            return Repaired::Guess;
        }
        text[choices[pr.b].position] = oldB;
        text[choices[pr.a].position] = oldA;
    }
    return Repaired::No;
}

// The glyph is clearly a character its position does not admit (a digit where
// only letters go): a zone has almost none, text that merely looks like one many.
bool Misfit(const Scores &s, float admittedBest)
{
    const float any = *std::max_element(s.begin(), s.end());
    return any - admittedBest > 0.12f && any > 0.5f;
}

// Letters and digits that OCR-B draws nearly alike. Where a position admits
// both, only a clear lead of one glyph over its twin decides between them.
constexpr std::pair<char, char> kTwins[] = {{'O', '0'}, {'I', '1'}, {'B', '8'}, {'S', '5'}};
constexpr float kTwinMargin = 0.04f;

char TwinOf(char ch)
{
    for (const auto &[letter, digit] : kTwins) {
        if (ch == letter)
            return digit;
        if (ch == digit)
            return letter;
    }
    return 0;
}

// A filler seen through glare or off its cell's centre by the grid looks
// much like K (its stroke with a stem beside it) or A, and no check digit
// tells K from it: where a field has ended, another glyph must beat the
// filler's clearly.
constexpr int kFillerIndex = kAlphabetSize - 1;
constexpr float kLeadOverFiller = 0.2f;
constexpr float kFillerLikeLead = 0.05f;

// The fields as far as the decoder needs them: runs of positions of one
// character class, split where lines and the names begin. By them a field
// that breaks the format is told from a zone that does not hold together
// anywhere.
std::vector<Span> FieldRuns(Format f, const std::vector<CharClass> &classes)
{
    const Layout l = LayoutOf(f);
    const Span names = NameSpanOf(f);
    std::vector<Span> runs;
    for (int i = 0; i < int(classes.size()); ++i) {
        if (runs.empty() || classes[size_t(i)] != classes[size_t(i - 1)] || i % l.length == 0 || i == names.start)
            runs.push_back({i, 0});
        ++runs.back().length;
    }
    return runs;
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
    std::vector<bool> misfit(n, false), twinUndecided(n, false);
    out.text.resize(qsizetype(n));
    for (size_t i = 0; i < n; ++i) {
        char ch = BestAdmitted(scores[i], base.classes[i], &best[i], &runnerUp[i]);
        misfit[i] = Misfit(scores[i], best[i]);
        // A letter and its digit twin that the glyph does not tell apart: in
        // numbers and optional data the digit, which they mostly hold; a
        // check digit over it may still choose the letter, and neither is trusted.
        const char twin = TwinOf(ch);
        if (twin && Admits(base.classes[i], twin)) {
            const float twinScore = scores[i][size_t(AlphabetIndex(QLatin1Char(twin)))];
            if (best[i] - twinScore < kTwinMargin) {
                twinUndecided[i] = true;
                // In the internal passport's names a digit is a letter too:
                // no side is likelier there.
                if (Admits(CharClass::Digit, twin) && base.classes[i] == CharClass::AlphaNum)
                    ch = twin;
            }
        }
        out.text[qsizetype(i)] = QLatin1Char(ch);
    }

    // A character where the names or the optional data have ended (after
    // three fillers in a row) breaks the format: an annotation, a frame, the
    // card's edge or a band of colour in the cell. Unless its glyph is clear
    // it is the filler the format puts there.
    const std::vector<Span> runs = FieldRuns(f, base.classes);
    std::vector<Span> ending = {NameSpanOf(f)};
    for (const Span &run : runs)
        if (base.classes[size_t(run.start)] == CharClass::AlphaNum)
            ending.push_back(run);
    std::vector<bool> afterNames(n, false);
    for (const Span &span : ending)
        for (int i = span.start, fillers = 0, ended = 0; i < span.start + span.length; ++i) {
            const char ch = out.text.at(i).toLatin1();
            fillers = ch == '<' ? fillers + 1 : 0;
            ended = ended || fillers >= 3;
            if (!ended || ch == '<')
                continue;
            afterNames[size_t(i)] = true;
            if (best[size_t(i)] < kWeakLikeness || Confidence(best[size_t(i)], runnerUp[size_t(i)]) < kTrustThreshold
                || best[size_t(i)] - scores[i][size_t(kFillerIndex)] < kLeadOverFiller)
                out.text[i] = QLatin1Char('<');
        }

    // A filler under glare, or a little off its cell's centre, matches K or A
    // nearly as well as its own glyph, and no check digit tells either from
    // it; a name part's last letter that beats the filler by hardly anything
    // is taken for the filler, and not as read.
    std::vector<bool> fillerLike(n, false);
    const Span names = NameSpanOf(f);
    for (int i = names.start; i + 1 < names.start + names.length; ++i) {
        const char ch = out.text.at(i).toLatin1();
        if ((ch == 'K' || ch == 'A') && out.text.at(i + 1) == QLatin1Char('<')
            && best[size_t(i)] - scores[size_t(i)][size_t(kFillerIndex)] < kFillerLikeLead) {
            out.text[i] = QLatin1Char('<');
            fillerLike[size_t(i)] = true;
        }
    }

    // The internal passport's layout was chosen with its code and state only
    // a little less likely than the letters read there: they are the ones it
    // prints, as the layout says, though not as read.
    std::vector<bool> byLayout(n, false);
    if (f == Format::RusInternal) {
        const std::string_view internal("PNRUS");
        for (size_t i = 0; i < internal.size(); ++i)
            if (out.text.at(qsizetype(i)).toLatin1() != internal[i]) {
                out.text[qsizetype(i)] = QLatin1Char(internal[i]);
                byLayout[i] = true;
            }
    }

    // What the glyphs alone say of each character: only characters read
    // without confidence may be changed by a check digit.
    std::vector<float> readConfidence(n);
    for (size_t i = 0; i < n; ++i) {
        const float chosen = scores[i][size_t(AlphabetIndex(out.text.at(qsizetype(i))))];
        readConfidence[i] = twinUndecided[i] || afterNames[i] || fillerLike[i] || byLayout[i] || chosen < kWeakLikeness || misfit[i]
                                ? 0.f
                                : Confidence(best[i], runnerUp[i]);
    }
    std::vector<bool> brokenField(n, false);
    int brokenFields = 0;
    for (const Span &run : runs) {
        int count = 0;
        for (int i = run.start; i < run.start + run.length; ++i)
            count += misfit[size_t(i)] ? 1 : 0;
        out.misfits += count;
        out.worstFieldMisfits = std::max(out.worstFieldMisfits, count);
        brokenFields += count > 0 ? 1 : 0;
        for (int i = run.start; i < run.start + run.length && count > 0; ++i)
            brokenField[size_t(i)] = true;
    }

    // The text decides where a long TD1 number ends, so the rules follow it.
    const Rules rules = RulesFor(f, out.text);
    std::vector<bool> replaced(n, false);
    std::set<int> protectedByField;
    std::vector<bool> failing(n, false), unconfirmed(n, false);
    for (const CheckRule &r : rules.checks) {
        const bool composite = std::string_view(r.name) == "composite";
        std::vector<int> positions = Positions(r);
        if (composite) {
            // Characters a field check already confirms stay as they are.
            std::erase_if(positions, [&](int p) { return protectedByField.count(p) > 0; });
        }
        const Repaired found = CheckHolds(r, out.text)
                                   ? Repaired::Unique
                                   : Repair(f, r, positions, rules, scores, readConfidence, out.text, replaced);
        // A check digit sees one wrong character, but two may cancel in it
        // (one chance in ten): holding, as read or after a repair, over two
        // or more characters the glyphs leave in doubt, it confirms none.
        const auto doubtful = std::count_if(positions.begin(), positions.end(),
                                            [&](int p) { return readConfidence[size_t(p)] < kTrustThreshold; });
        const Repaired repaired = found == Repaired::Unique && doubtful >= 2 ? Repaired::Guess : found;
        const bool valid = repaired == Repaired::Unique;
        if (valid && !composite)
            for (int p : Positions(r))
                protectedByField.insert(p);
        // A failing composite check doubts only what no field check confirms;
        // a check that holds only by a guess confirms nothing under it.
        for (int p : Positions(r)) {
            if (composite && protectedByField.count(p) > 0)
                continue;
            if (repaired == Repaired::No)
                failing[size_t(p)] = true;
            else if (repaired == Repaired::Guess)
                unconfirmed[size_t(p)] = true;
        }
        out.checks.push_back({QString::fromLatin1(r.name), valid, found == Repaired::Unique});
    }

    // Characters a check digit covers are confirmed by it when it holds;
    // the others (names, state, nationality, sex) only by their glyphs.
    std::vector<bool> covered(n, false);
    for (const CheckRule &r : rules.checks)
        for (int p : Positions(r))
            covered[size_t(p)] = true;
    out.checkFailed = failing;
    out.confidence.resize(n);
    out.trusted.resize(n);
    double sum = 0;
    bool allConfident = true;
    for (size_t i = 0; i < n; ++i) {
        const float chosen = scores[i][size_t(AlphabetIndex(out.text.at(qsizetype(i))))];
        sum += chosen;
        // A character the check digit chose over the look of the glyph is a guess.
        out.confidence[i] = replaced[i] ? 0.f : readConfidence[i];
        // A glyph only faintly like the character chosen for it is no reading
        // to trust, whatever a check digit repaired around it says; nor is
        // anything of a field that holds glyphs its format does not admit.
        // What no check digit covers rests on its glyph alone, and needs a
        // clearer lead to be trusted.
        // A check digit holding says nothing between characters of the same
        // value modulo 10: against those the glyph needs the clearer lead too.
        const bool checkSees = covered[i] && (replaced[i] || LeadOverBlindRival(scores[i], rules.classes[i], out.text.at(qsizetype(i)).toLatin1()) >= kUncoveredTrust);
        const float needed = covered[i] ? kTrustThreshold : kUncoveredTrust;
        const bool confident = out.confidence[i] >= needed && chosen >= kWeakLikeness && !brokenField[i] && (checkSees || !covered[i]);
        allConfident = allConfident && (confident || (checkSees && !brokenField[i]));
        out.trusted[i] = confident && !failing[i] && !unconfirmed[i];
    }
    out.meanScore = n ? sum / double(n) : 0;
    // Print in another typeface (a forgery, a poor copy) matches OCR-B only
    // loosely throughout; its check digits may still be made to hold, but
    // nothing of it is taken as read.
    out.weakLikeness = out.meanScore < kMinZoneLikeness;
    if (out.weakLikeness)
        std::fill(out.trusted.begin(), out.trusted.end(), false);
    out.allConfident = allConfident && !out.weakLikeness;
    out.repairs = int(std::count(replaced.begin(), replaced.end(), true));
    out.datesValid = true;
    int invalidDates = 0;
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
        // No calendar date: a field that breaks the format, returned untrusted.
        if (state == DateState::Invalid) {
            brokenFields += brokenField[size_t(s.start)] ? 0 : 1;
            ++invalidDates;
            out.allConfident = false;
            for (int i = s.start; i < s.start + s.length; ++i)
                out.trusted[size_t(i)] = false;
        }
        // A date of birth printed with unknown parts holds its check digit, but
        // it is no date to take as read.
        if (state == DateState::PartlyUnknown) {
            out.birthDateUnknown = true;
            for (int i = s.start; i < s.start + s.length; ++i)
                out.trusted[size_t(i)] = false;
        }
    }
    // One field may break the format (glyphs its positions do not admit, a
    // date that is none) and is returned untrusted; text whose glyphs misfit
    // their positions in several fields, or that breaks a date and another
    // field, is no zone.
    out.plausible = out.repairs <= kMaxRepairs && out.misfits - out.worstFieldMisfits <= kMaxMisfits
                    && (invalidDates == 0 || brokenFields <= 1);
    return out;
}

} // namespace mrz
