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

    /// Chooses the bank's blur set the scores come from.
    void UseSet(int set) { m_set = set; }
    /// Chooses the typeface the scores come from.
    void UseTypeface(Typeface face) { m_face = face; }

    int PatchWidth() const { return m_bank.Width() + 2 * kShift; }
    int PatchHeight() const { return m_bank.Height() + 2 * kShift; }

    /// patch: PatchWidth() x PatchHeight() ink values (dark = high), the cell
    /// centred. The glyph's place is found with the likeliest glyphs; every
    /// glyph is scored there, the likeliest also one pixel around it.
    Scores Classify(const std::vector<float> &patch) const;

    /// The best correlation of any glyph with the patch, unshifted: a cheap
    /// measure of how much the patch looks like a character the right way up.
    float BestAtCentre(const std::vector<float> &patch, int set = 0) const;

    /// How well the likeliest two glyphs of blur set `set` match the patch
    /// when allowed to sit a pixel off the cell's centre: the measure by which
    /// the blur set of a zone is chosen, not swayed by how well the grid is centred.
    float Likeness(const std::vector<float> &patch, int set, Typeface face = Typeface::OcrB) const;

private:
    void Prepare(const std::vector<float> &patch, bool allShifts) const;
    float Correlate(int k, int dx, int dy) const;

    float Correlate(int k, int set, Typeface face, int dx, int dy) const;

    const GlyphBank &m_bank;
    int m_set = 0;
    Typeface m_face = Typeface::OcrB;
    // Per-call window statistics, kept to avoid reallocations.
    mutable const float *m_patch = nullptr;
    mutable std::vector<float> m_centred;
    mutable std::vector<float> m_invNorm; // 1 / norm of the zero-mean window at each shift
};

} // namespace mrz
