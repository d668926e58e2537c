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

// The second row leaves out the expiry date and its check digit (every
// cell there likelier a filler than any digit): no passport does, as every
// passport expires, while the internal passport always does.
bool NoExpiryDate(const std::vector<Scores> &scores, int rowLength)
{
    constexpr int kExpiry = 21, kExpiryCells = 7;
    if (scores.size() < size_t(2 * rowLength))
        return false;
    for (int i = rowLength + kExpiry; i < rowLength + kExpiry + kExpiryCells; ++i) {
        const Scores &s = scores[size_t(i)];
        const float fillerScore = s[size_t(AlphabetIndex(QLatin1Char('<')))];
        for (char d = '0'; d <= '9'; ++d)
            if (s[size_t(AlphabetIndex(QLatin1Char(d)))] >= fillerScore)
                return false;
    }
    return true;
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
    if (f == shape)
        return shape;
    if (Shortfall(scores, internal) <= kCloseEnough)
        return f;
    // With the second row read without an expiry date, several letters of
    // the code may each be a little off (small print under glare or on a
    // coloured band), as long as none is clearly another letter.
    if (NoExpiryDate(scores, LayoutOf(shape).length)) {
        bool eachClose = true;
        for (size_t i = 0; i < internal.size(); ++i)
            eachClose = eachClose && Shortfall({scores[i]}, internal.substr(i, 1)) <= kCloseEnough;
        if (eachClose)
            return f;
    }
    return shape;
}

} // namespace mrz
