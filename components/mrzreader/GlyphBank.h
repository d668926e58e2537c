#pragma once
// The 37 characters of a zone drawn in OCR-B (the font file of the Debian
// package fonts-ocr-b) at one fixed pitch, as zero-mean, unit-norm templates
// of ink darkness for normalised correlation; and the same in a plain
// monospaced sans typeface, to read zones that cards drawn by a program or a
// poor copy print in such a face (their text is read, never trusted).

#include <QString>

#include <QImage>
#include <QPointF>

#include <array>
#include <vector>

namespace mrz {

enum class Typeface { OcrB, PlainMono };

class GlyphBank
{
public:
    static constexpr int kPitch = 20; ///< template pixels per character step
    static constexpr int kPad = 3;    ///< rows above the capitals and below the baseline (at least)
    /// Sets of templates, each blurred more: a soft scan matches soft glyphs better.
    static constexpr int kSets = 5;

    /// The bank, drawn once per process. Null, with *error set, when the font
    /// cannot be loaded or no QGuiApplication exists to draw with.
    static const GlyphBank *Instance(QString *error);
    /// The font file the OCR-B glyphs are drawn from.
    static QString FontFile();
    /// The font file of the plain monospaced glyphs (Debian package fonts-dejavu-core).
    static QString PlainFontFile();

    int Width() const { return kPitch; }
    int Height() const { return m_height; }
    /// Height of the capitals in template pixels, centred in Height().
    float CapHeight() const { return m_capHeight; }
    /// Where the box of the filler '<' has its centre, against the centre of
    /// the cell (the middle of the template), in pitches.
    QPointF FillerOffset() const { return m_fillerOffset; }
    /// Template k of kAlphabet in blur set `set`: Width() x Height() values, zero mean, unit norm.
    const float *Template(int k, int set = 0, Typeface face = Typeface::OcrB) const
    {
        return m_templates[size_t(face)][size_t(set)][size_t(k)].data();
    }
    /// The plain typeface could be drawn (its font is installed).
    bool HasPlain() const { return m_hasPlain; }

private:
    GlyphBank() = default;
    bool Draw(QString *error);
    bool DrawPlain();
    void DrawGlyphs(const QFont &font, double scale, double baseline, Typeface face);
    static std::vector<float> Normalised(const QImage &glyph, double sigma);

    int m_height = 0;
    float m_capHeight = 0;
    QPointF m_fillerOffset;
    bool m_hasPlain = false;
    std::array<std::array<std::array<std::vector<float>, 37>, kSets>, 2> m_templates;
};

} // namespace mrz
