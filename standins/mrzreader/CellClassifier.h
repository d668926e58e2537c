#pragma once
// Scores a character cell against every glyph of the bank by normalised
// correlation, allowing the glyph to sit up to two pixels off the grid.

#include "GlyphBank.h"
#include "MrzFormat.h"

#include <array>
#include <vector>

namespace mrz {

using Scores = std::array<float, kAlphabetSize>;

class CellClassifier
{
public:
    static constexpr int kShift = 2;

    explicit CellClassifier(const GlyphBank &bank);

    int PatchWidth() const { return m_bank.Width() + 2 * kShift; }
    int PatchHeight() const { return m_bank.Height() + 2 * kShift; }

    /// patch: PatchWidth() x PatchHeight() ink values (dark = high), the cell
    /// centred. Every score is the correlation at the best shift for the
    /// likeliest glyphs and for the best of `admitted`, at the centre for the rest.
    Scores Classify(const std::vector<float> &patch, CharClass admitted) const;

    /// The best correlation of any glyph with the patch, unshifted: a cheap
    /// measure of how much the patch looks like a character the right way up.
    float BestAtCentre(const std::vector<float> &patch) const;

private:
    void Prepare(const std::vector<float> &patch, bool allShifts) const;
    float Correlate(int k, int dx, int dy) const;

    const GlyphBank &m_bank;
    // Per-call window statistics, kept to avoid reallocations.
    mutable const float *m_patch = nullptr;
    mutable std::vector<float> m_invNorm; // 1 / norm of the zero-mean window at each shift
};

} // namespace mrz
