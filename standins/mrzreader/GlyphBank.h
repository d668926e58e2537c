#pragma once
// The 37 characters of a zone drawn in OCR-B (the font file of the Debian
// package fonts-ocr-b) at one fixed pitch, as zero-mean, unit-norm templates
// of ink darkness for normalised correlation.

#include <QString>

#include <array>
#include <vector>

namespace mrz {

class GlyphBank
{
public:
    static constexpr int kPitch = 20; ///< template pixels per character step
    static constexpr int kPad = 3;    ///< rows above the capitals and below the baseline

    /// The bank, drawn once per process. Null, with *error set, when the font
    /// cannot be loaded or no QGuiApplication exists to draw with.
    static const GlyphBank *Instance(QString *error);
    /// The font file the bank is drawn from.
    static QString FontFile();

    int Width() const { return kPitch; }
    int Height() const { return m_height; }
    /// Height of the capitals in template pixels (their top is kPad rows down).
    float CapHeight() const { return m_capHeight; }
    /// Template k of kAlphabet: Width() x Height() values, zero mean, unit norm.
    const float *Template(int k) const { return m_templates[size_t(k)].data(); }

private:
    GlyphBank() = default;
    bool Draw(QString *error);

    int m_height = 0;
    float m_capHeight = 0;
    std::array<std::vector<float>, 37> m_templates;
};

} // namespace mrz
