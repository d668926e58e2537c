#include "CellClassifier.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace mrz {

CellClassifier::CellClassifier(const GlyphBank &bank) : m_bank(bank)
{
    m_invNorm.resize(size_t((2 * kShift + 1) * (2 * kShift + 1)));
}

float CellClassifier::Correlate(int k, int dx, int dy) const
{
    const int w = m_bank.Width(), h = m_bank.Height(), pw = PatchWidth();
    const float *t = m_bank.Template(k);
    const float *p = m_patch + (kShift + dy) * pw + (kShift + dx);
    float dot = 0.f;
    for (int y = 0; y < h; ++y, t += w, p += pw) {
#pragma omp simd reduction(+ : dot)
        for (int x = 0; x < w; ++x)
            dot += t[x] * p[x];
    }
    return dot * m_invNorm[size_t((dy + kShift) * (2 * kShift + 1) + (dx + kShift))];
}

void CellClassifier::Prepare(const std::vector<float> &patch, bool allShifts) const
{
    m_patch = patch.data();
    const int w = m_bank.Width(), h = m_bank.Height(), pw = PatchWidth();
    const float n = float(w * h);
    // The templates have zero mean, so the correlation needs only the window's
    // own spread: sum(t * p) / sqrt(sum(p^2) - sum(p)^2 / n).
    for (int dy = -kShift; dy <= kShift; ++dy) {
        for (int dx = -kShift; dx <= kShift; ++dx) {
            if (!allShifts && (dx || dy))
                continue;
            float s = 0, ss = 0;
            const float *p = m_patch + (kShift + dy) * pw + (kShift + dx);
            for (int y = 0; y < h; ++y, p += pw) {
#pragma omp simd reduction(+ : s, ss)
                for (int x = 0; x < w; ++x) {
                    s += p[x];
                    ss += p[x] * p[x];
                }
            }
            const double var = double(ss) - double(s) * double(s) / double(n);
            m_invNorm[size_t((dy + kShift) * (2 * kShift + 1) + (dx + kShift))] = var > 1e-3 ? float(1.0 / std::sqrt(var)) : 0.f;
        }
    }
}

float CellClassifier::BestAtCentre(const std::vector<float> &patch) const
{
    Prepare(patch, false);
    float best = -1.f;
    for (int k = 0; k < kAlphabetSize; ++k)
        best = std::max(best, Correlate(k, 0, 0));
    return best;
}

Scores CellClassifier::Classify(const std::vector<float> &patch, CharClass admitted) const
{
    Prepare(patch, true);
    Scores scores;
    for (int k = 0; k < kAlphabetSize; ++k)
        scores[size_t(k)] = Correlate(k, 0, 0);

    // Refine the likeliest glyphs, and the likeliest the position admits, over all shifts.
    std::array<int, kAlphabetSize> order;
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return scores[size_t(a)] > scores[size_t(b)]; });
    std::array<bool, kAlphabetSize> refine{};
    int overall = 0, inClass = 0;
    for (int k : order) {
        const bool admittedHere = Admits(admitted, kAlphabet[size_t(k)]);
        if (overall < 4 || (admittedHere && inClass < 3))
            refine[size_t(k)] = true;
        ++overall;
        if (admittedHere)
            ++inClass;
        if (overall >= 4 && inClass >= 3)
            break;
    }
    for (int k = 0; k < kAlphabetSize; ++k) {
        if (!refine[size_t(k)])
            continue;
        float best = scores[size_t(k)];
        for (int dy = -kShift; dy <= kShift; ++dy)
            for (int dx = -kShift; dx <= kShift; ++dx)
                if (dx || dy)
                    best = std::max(best, Correlate(k, dx, dy));
        scores[size_t(k)] = best;
    }
    return scores;
}

} // namespace mrz
