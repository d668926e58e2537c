#include "FormatChoice.h"

namespace mrz {

Format FormatOfZone(Format shape, const std::vector<Scores> &scores)
{
    if (scores.size() < 5)
        return shape;
    // Code and state are letters (or the filler) in every layout.
    QString codeAndState;
    for (size_t i = 0; i < 5; ++i) {
        int best = -1;
        for (int k = 0; k < kAlphabetSize; ++k)
            if (Admits(CharClass::Letter, kAlphabet[size_t(k)]) && (best < 0 || scores[i][size_t(k)] > scores[i][size_t(best)]))
                best = k;
        codeAndState += QLatin1Char(kAlphabet[size_t(best)]);
    }
    return FormatByCode(shape, codeAndState);
}

} // namespace mrz
