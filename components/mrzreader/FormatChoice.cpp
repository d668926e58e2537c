#include "FormatChoice.h"

namespace mrz {

namespace {

// Code and state are letters (or the filler) in every layout.
char BestLetter(const Scores &s)
{
    int best = -1;
    for (int k = 0; k < kAlphabetSize; ++k)
        if (Admits(CharClass::Letter, kAlphabet[size_t(k)]) && (best < 0 || s[size_t(k)] > s[size_t(best)]))
            best = k;
    return kAlphabet[size_t(best)];
}

// How much less like their glyphs the cells are read as `code` than as their
// likeliest letters.
float Shortfall(const std::vector<Scores> &scores, std::string_view code)
{
    float sum = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const Scores &s = scores[i];
        sum += s[size_t(AlphabetIndex(QLatin1Char(BestLetter(s))))] - s[size_t(AlphabetIndex(QLatin1Char(code[i])))];
    }
    return sum;
}

} // namespace

Format FormatOfZone(Format shape, const std::vector<Scores> &scores)
{
    if (scores.size() < 5)
        return shape;
    QString codeAndState;
    for (size_t i = 0; i < 5; ++i)
        codeAndState += QLatin1Char(BestLetter(scores[i]));
    const Format byCode = FormatByCode(shape, codeAndState);
    if (byCode != shape)
        return byCode;
    // Read under another layout's position classes a zone is lost whole (the
    // internal passport's letters written as digits, its fillers for the
    // expiry date): a code and state only a little less likely than the five
    // letters read still choose that layout. A visa is told by its one letter
    // read as such: a single doubtful letter is too little to give up the
    // checks a passport's or card's layout has and a visa's lacks.
    constexpr float kCloseEnough = 0.1f;
    const std::string_view internal("PNRUS");
    const Format f = FormatByCode(shape, QString::fromLatin1(internal));
    if (f != shape && Shortfall(scores, internal) <= kCloseEnough)
        return f;
    return shape;
}

} // namespace mrz
