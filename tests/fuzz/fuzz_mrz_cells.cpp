// The zone reader's character stage alone: one character cell, as the reader
// samples it from the page, scored against the OCR-B glyphs. A cell is a few
// hundred values, so this stage is tried far more often than through whole
// pages. Beyond "no crash": scores are correlations (finite, within -1..1),
// the score of the likeliest glyph at the cell's centre is reached by the
// full scoring and by the measure of likeness, and a glyph drawn exactly at
// the centre of its cell is read as itself whatever surrounds the cell.
//
// Input: one byte of options (bits 0-1 the blur set, modulo the sets; bit 2
// a drawn glyph instead of raw ink; bit 3 the likeness instead of the full
// scoring), then for raw ink one byte of darkness per pixel of the cell, row
// by row (pixels not given are paper), for a drawn glyph one byte choosing
// it, one byte of its contrast and the darkness of the pixels around it.
#include "FuzzGlyphs.h"
#include "FuzzCheck.h"

#include "CellClassifier.h"
#include "GlyphBank.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using namespace mrz;

constexpr float kSlack = 1e-4f;

float Highest(const Scores &s)
{
    return *std::max_element(s.begin(), s.end());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGlyphs(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QString error;
    const GlyphBank *bank = GlyphBank::Instance(&error);
    FUZZ_CHECK(bank);
    const uint8_t options = data[0];
    ++data, --size;
    const int set = (options & 3) % GlyphBank::kSets;
    CellClassifier cls(*bank);
    cls.UseSet(set);
    const int pw = cls.PatchWidth(), ph = cls.PatchHeight();
    std::vector<float> patch(size_t(pw * ph), 0.f);
    int glyph = -1;
    if (options & 4) {
        if (size < 2)
            return 0;
        glyph = data[0] % kAlphabetSize;
        const float contrast = 50.f + 4.f * float(data[1]);
        data += 2, size -= 2;
        for (size_t i = 0; i < patch.size() && i < size; ++i)
            patch[i] = float(data[i]);
        // The glyph as its template, scaled into ink and laid on paper grey.
        const float *t = bank->Template(glyph, set);
        for (int y = 0; y < bank->Height(); ++y)
            for (int x = 0; x < bank->Width(); ++x)
                patch[size_t((y + CellClassifier::kShift) * pw + x + CellClassifier::kShift)] =
                    60.f + contrast * t[y * bank->Width() + x];
    } else {
        for (size_t i = 0; i < patch.size() && i < size; ++i)
            patch[i] = float(data[i]);
    }

    // The score at the centre against the full scoring, or against the
    // likeness the reader chooses the blur with: one of the two per input
    // keeps the inputs many.
    const float centre = cls.BestAtCentre(patch, set);
    FUZZ_CHECK(std::isfinite(centre) && centre >= -1.f - kSlack && centre <= 1.f + kSlack);
    if (glyph >= 0)
        FUZZ_CHECK(centre >= 1.f - 1e-3f);
    if (options & 8) {
        const float likeness = cls.Likeness(patch, set);
        // The likeness starts from the likeliest glyph at the centre.
        FUZZ_CHECK(std::isfinite(likeness) && likeness >= centre - kSlack && likeness <= 1.f + kSlack);
        return 0;
    }
    const Scores scores = cls.Classify(patch);
    for (float s : scores)
        FUZZ_CHECK(std::isfinite(s) && s >= -1.f - kSlack && s <= 1.f + kSlack);
    // The full scoring tries the centre too.
    FUZZ_CHECK(centre <= Highest(scores) + kSlack);
    if (glyph >= 0) {
        FUZZ_CHECK(scores[size_t(glyph)] >= 1.f - 1e-3f);
        FUZZ_CHECK(Highest(scores) - scores[size_t(glyph)] <= kSlack);
    }
    return 0;
}
