#include "GlyphBank.h"

#include "MrzFormat.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>

namespace mrz {

namespace {

QImage DrawGlyph(const QFont &font, double scale, double baseline, int height, char ch)
{
    QImage glyph(GlyphBank::kPitch, height, QImage::Format_Grayscale8);
    glyph.fill(255);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, baseline);
    p.scale(scale, scale);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(0, 0), QString(QLatin1Char(ch)));
    return glyph;
}

// A font file loaded and measured at a large size: the scale that makes one
// advance exactly kPitch, and the height of its capitals at that scale.
struct MeasuredFont
{
    QFont font;
    double scale = 0;
    double capHeight = 0;
};

enum class FontFault { None, NotLoaded, NoMetrics };

FontFault Measure(const QString &file, MeasuredFont *out)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty())
        return FontFault::NotLoaded;
    out->font = QFont(families.first());
    out->font.setPixelSize(200);
    out->font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(out->font);
    const double advance = fm.horizontalAdvance(QLatin1Char('0'));
    const double capTop = -fm.tightBoundingRect(QStringLiteral("H")).top();
    if (advance <= 0 || capTop <= 0)
        return FontFault::NoMetrics;
    out->scale = double(GlyphBank::kPitch) / advance;
    out->capHeight = capTop * out->scale;
    return FontFault::None;
}

} // namespace

QString GlyphBank::FontFile()
{
    return QStringLiteral("/usr/share/fonts/opentype/ocr-b/OCRB.otf");
}

QString GlyphBank::PlainFontFile()
{
    return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
}

const GlyphBank *GlyphBank::Instance(QString *error)
{
    // Owned by a static of this library, so the bank goes with it: the
    // engine server that reads zones is loaded and freed by its host, maybe
    // many times in one process, and each load draws a bank of its own.
    static QString failure;
    static const std::unique_ptr<const GlyphBank> bank = [] {
        std::unique_ptr<GlyphBank> drawn(new GlyphBank);
        if (!drawn->Draw(&failure))
            drawn.reset();
        return std::unique_ptr<const GlyphBank>(std::move(drawn));
    }();
    if (!bank && error)
        *error = failure;
    return bank.get();
}

bool GlyphBank::Draw(QString *error)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        *error = QStringLiteral("drawing the OCR-B glyphs needs a QGuiApplication");
        return false;
    }
    const QString file = FontFile();
    if (!QFile::exists(file)) {
        *error = QStringLiteral("the OCR-B font %1 is missing (Debian package fonts-ocr-b)").arg(file);
        return false;
    }
    MeasuredFont ocrB;
    switch (Measure(file, &ocrB)) {
    case FontFault::NotLoaded:
        *error = QStringLiteral("the OCR-B font %1 cannot be loaded").arg(file);
        return false;
    case FontFault::NoMetrics:
        *error = QStringLiteral("the OCR-B font %1 has no usable metrics").arg(file);
        return false;
    case FontFault::None:
        break;
    }
    // Drawn scaled so one advance is exactly kPitch.
    const QFont &font = ocrB.font;
    const double scale = ocrB.scale;
    m_capHeight = float(ocrB.capHeight);
    m_height = int(std::ceil(m_capHeight)) + 2 * kPad;
    // The capitals sit exactly in the middle of the template, so that a cell
    // sampled around its centre and turned half round is the same cell.
    const double baseline = (m_height + double(m_capHeight)) / 2.0;

    const QImage filler = DrawGlyph(font, scale, baseline, m_height, '<');
    int x0 = kPitch, x1 = -1, y0 = m_height, y1 = -1;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < kPitch; ++x)
            if (filler.constScanLine(y)[x] < 128)
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    if (x1 >= x0)
        m_fillerOffset = QPointF(((x0 + x1 + 1) / 2.0 - kPitch / 2.0) / kPitch,
                                 ((y0 + y1 + 1) / 2.0 - m_height / 2.0) / kPitch);
    DrawGlyphs(font, scale, baseline, Typeface::OcrB);
    // The plain face is a help for zones not printed in OCR-B; without its
    // font they are read against OCR-B as before.
    m_hasPlain = DrawPlain();
    return true;
}

bool GlyphBank::DrawPlain()
{
    MeasuredFont plain;
    if (Measure(PlainFontFile(), &plain) != FontFault::None)
        return false;
    // One advance is one pitch, as for OCR-B; the capitals, taller against
    // the pitch than OCR-B's, are centred in the same template height.
    DrawGlyphs(plain.font, plain.scale, (m_height + plain.capHeight) / 2.0, Typeface::PlainMono);
    return true;
}

void GlyphBank::DrawGlyphs(const QFont &font, double scale, double baseline, Typeface face)
{
    static constexpr double kBlur[kSets] = {0.0, 1.0, 1.8, 2.8, 3.8};
    for (int k = 0; k < kAlphabetSize; ++k) {
        const QImage glyph = DrawGlyph(font, scale, baseline, m_height, kAlphabet[size_t(k)]);
        for (int set = 0; set < kSets; ++set)
            m_templates[size_t(face)][size_t(set)][size_t(k)] = Normalised(glyph, kBlur[set]);
    }
}

std::vector<float> GlyphBank::Normalised(const QImage &glyph, double sigma)
{
    const int w = glyph.width(), h = glyph.height();
    std::vector<float> ink(size_t(w * h));
    for (int y = 0; y < h; ++y) {
        const uchar *line = glyph.constScanLine(y);
        for (int x = 0; x < w; ++x)
            ink[size_t(y * w + x)] = float(255 - line[x]);
    }
    if (sigma > 0) {
        // Separable Gaussian, edges clamped.
        const int r = int(std::ceil(3 * sigma));
        std::vector<float> kernel(size_t(2 * r + 1));
        float total = 0;
        for (int i = -r; i <= r; ++i)
            total += kernel[size_t(i + r)] = float(std::exp(-0.5 * i * i / (sigma * sigma)));
        for (float &v : kernel)
            v /= total;
        std::vector<float> tmp(ink.size());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int i = -r; i <= r; ++i)
                    s += kernel[size_t(i + r)] * ink[size_t(y * w + std::clamp(x + i, 0, w - 1))];
                tmp[size_t(y * w + x)] = s;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int i = -r; i <= r; ++i)
                    s += kernel[size_t(i + r)] * tmp[size_t(std::clamp(y + i, 0, h - 1) * w + x)];
                ink[size_t(y * w + x)] = s;
            }
    }
    double sum = 0;
    for (float v : ink)
        sum += v;
    const float mean = float(sum / double(ink.size()));
    double norm = 0;
    for (float &v : ink) {
        v -= mean;
        norm += double(v) * v;
    }
    const float inv = norm > 0 ? float(1.0 / std::sqrt(norm)) : 0.f;
    for (float &v : ink)
        v *= inv;
    return ink;
}

} // namespace mrz
