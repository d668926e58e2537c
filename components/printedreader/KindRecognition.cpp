#include "KindRecognition.h"

#include "LabelFinder.h"

#include <algorithm>

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

// Other documents print some of the same labels (an identity card its
// "Фамилия", "Имя", "Дата рождения"): a passport also shows the sex, which
// such cards leave to their zones, or the internal passport its issue page.
bool HasOwnLabel(const std::vector<LabelHit> &hits, DocumentKind kind)
{
    if (kind == DocumentKind::DrivingLicence)
        return true;
    return std::any_of(hits.begin(), hits.end(), [&](const LabelHit &h) {
        return h.role == LabelRole::Sex ||
               (kind == DocumentKind::InternalPassport &&
                (h.role == LabelRole::IssuedBy || h.role == LabelRole::DivisionCode));
    });
}

} // namespace

std::optional<DocumentKind> KindOfLines(const std::vector<OcrLine> &lines)
{
    std::optional<DocumentKind> best;
    int bestScore = 2; // fewer labels than three tell nothing
    for (DocumentKind kind : {DocumentKind::DrivingLicence, DocumentKind::ForeignPassport, DocumentKind::InternalPassport}) {
        const auto hits = FindLabels(lines, kind);
        const int s = Score(hits, kind);
        if (s > bestScore && HasOwnLabel(hits, kind)) {
            best = kind;
            bestScore = s;
        }
    }
    return best;
}

} // namespace printed
