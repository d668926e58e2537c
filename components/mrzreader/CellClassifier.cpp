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
    return Correlate(k, m_set, m_face, dx, dy);
}

float CellClassifier::Correlate(int k, int set, Typeface face, int dx, int dy) const
{
    const int w = m_bank.Width(), h = m_bank.Height(), pw = PatchWidth();
    const float *t = m_bank.Template(k, set, face);
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
    // Centred on the patch's mean: the templates have zero mean, so the
    // correlation is unchanged, and the window sums below keep their precision
    // in single floats.
    double mean = 0;
    for (float v : patch)
        mean += v;
    mean /= double(std::max<size_t>(1, patch.size()));
    m_centred.resize(patch.size());
    for (size_t i = 0; i < patch.size(); ++i)
        m_centred[i] = patch[i] - float(mean);
    m_patch = m_centred.data();
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

float CellClassifier::BestAtCentre(const std::vector<float> &patch, int set) const
{
    Prepare(patch, false);
    float best = -1.f;
    for (int k = 0; k < kAlphabetSize; ++k)
        best = std::max(best, Correlate(k, set, Typeface::OcrB, 0, 0));
    return best;
}

float CellClassifier::Likeness(const std::vector<float> &patch, int set, Typeface face) const
{
    Prepare(patch, true);
    int first = 0, second = 0;
    float s1 = -2.f, s2 = -2.f;
    for (int k = 0; k < kAlphabetSize; ++k) {
        const float c = Correlate(k, set, face, 0, 0);
        if (c > s1)
            second = first, s2 = s1, first = k, s1 = c;
        else if (c > s2)
            second = k, s2 = c;
    }
    float best = s1;
    for (int k : {first, second})
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy)
                    best = std::max(best, Correlate(k, set, face, dx, dy));
    return best;
}

Scores CellClassifier::Classify(const std::vector<float> &patch) const
{
    Prepare(patch, true);
    Scores scores;
    for (int k = 0; k < kAlphabetSize; ++k)
        scores[size_t(k)] = Correlate(k, 0, 0);

    // Where the glyph sits: the best shift of the likeliest few glyphs.
    std::array<int, kAlphabetSize> order;
    std::iota(order.begin(), order.end(), 0);
    std::partial_sort(order.begin(), order.begin() + 4, order.end(),
                      [&](int a, int b) { return scores[size_t(a)] > scores[size_t(b)]; });
    int bestDx = 0, bestDy = 0;
    float best = scores[size_t(order[0])];
    for (int i = 0; i < 4; ++i)
        for (int dy = -kShift; dy <= kShift; ++dy)
            for (int dx = -kShift; dx <= kShift; ++dx) {
                const float c = Correlate(order[size_t(i)], dx, dy);
                if (c > best)
                    best = c, bestDx = dx, bestDy = dy;
            }
    // Every glyph at that place, and the likeliest again one pixel around it.
    for (int k = 0; k < kAlphabetSize; ++k)
        scores[size_t(k)] = std::max(scores[size_t(k)], Correlate(k, bestDx, bestDy));
    std::iota(order.begin(), order.end(), 0);
    std::partial_sort(order.begin(), order.begin() + 6, order.end(),
                      [&](int a, int b) { return scores[size_t(a)] > scores[size_t(b)]; });
    for (int i = 0; i < 6; ++i) {
        const int k = order[size_t(i)];
        for (int dy = std::max(-kShift, bestDy - 1); dy <= std::min(kShift, bestDy + 1); ++dy)
            for (int dx = std::max(-kShift, bestDx - 1); dx <= std::min(kShift, bestDx + 1); ++dx)
                scores[size_t(k)] = std::max(scores[size_t(k)], Correlate(k, dx, dy));
    }
    return scores;
}

} // namespace mrz
