#include "GlyphBank.h"

#include "MrzFormat.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace mrz {

QString GlyphBank::FontFile()
{
    return QStringLiteral("/usr/share/fonts/opentype/ocr-b/OCRB.otf");
}

const GlyphBank *GlyphBank::Instance(QString *error)
{
    static std::once_flag once;
    static GlyphBank *bank = nullptr;
    static QString failure;
    std::call_once(once, [] {
        auto *b = new GlyphBank;
        if (b->Draw(&failure))
            bank = b;
        else
            delete b;
    });
    if (!bank && error)
        *error = failure;
    return bank;
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
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        *error = QStringLiteral("the OCR-B font %1 cannot be loaded").arg(file);
        return false;
    }
    // Measure at a large size, then draw scaled so one advance is exactly kPitch.
    QFont font(families.first());
    font.setPixelSize(200);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(font);
    const double advance = fm.horizontalAdvance(QLatin1Char('0'));
    const double capTop = -fm.tightBoundingRect(QStringLiteral("H")).top();
    if (advance <= 0 || capTop <= 0) {
        *error = QStringLiteral("the OCR-B font %1 has no usable metrics").arg(file);
        return false;
    }
    const double scale = double(kPitch) / advance;
    m_capHeight = float(capTop * scale);
    m_height = int(std::ceil(m_capHeight)) + 2 * kPad;
    const double baseline = kPad + double(m_capHeight);

    for (int k = 0; k < kAlphabetSize; ++k) {
        QImage glyph(kPitch, m_height, QImage::Format_Grayscale8);
        glyph.fill(255);
        {
            QPainter p(&glyph);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(0, baseline);
            p.scale(scale, scale);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPointF(0, 0), QString(QLatin1Char(kAlphabet[size_t(k)])));
        }
        std::vector<float> t(size_t(kPitch * m_height));
        double sum = 0;
        for (int y = 0; y < m_height; ++y) {
            const uchar *line = glyph.constScanLine(y);
            for (int x = 0; x < kPitch; ++x) {
                t[size_t(y * kPitch + x)] = float(255 - line[x]);
                sum += 255 - line[x];
            }
        }
        const float mean = float(sum / double(t.size()));
        double norm = 0;
        for (float &v : t) {
            v -= mean;
            norm += double(v) * v;
        }
        const float inv = norm > 0 ? float(1.0 / std::sqrt(norm)) : 0.f;
        for (float &v : t)
            v *= inv;
        m_templates[size_t(k)] = std::move(t);
    }
    return true;
}

} // namespace mrz
