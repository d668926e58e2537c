#include "KindRecognition.h"

#include "LabelFinder.h"

namespace printed {

namespace {

// The passports share several labels ("Фамилия", "Дата рождения"); the
// foreign one prints them with their English translations, which the
// internal one has not, so that its labels score only when matched whole.
int Score(const std::vector<LabelHit> &hits, DocumentKind kind)
{
    int score = 0;
    for (const LabelHit &h : hits) {
        if (kind == DocumentKind::DrivingLicence)
            score += h.role == LabelRole::Other ? 3 : 1; // the title
        else
            score += h.role == LabelRole::Other ? 0 : 1;
    }
    return score;
}

} // namespace

std::optional<DocumentKind> KindOfLines(const std::vector<OcrLine> &lines)
{
    std::optional<DocumentKind> best;
    int bestScore = 2; // fewer labels than three tell nothing
    for (DocumentKind kind : {DocumentKind::DrivingLicence, DocumentKind::ForeignPassport, DocumentKind::InternalPassport}) {
        const int s = Score(FindLabels(lines, kind), kind);
        if (s > bestScore) {
            best = kind;
            bestScore = s;
        }
    }
    return best;
}

} // namespace printed
