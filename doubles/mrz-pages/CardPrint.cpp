#include "CardPrint.h"

#include "Degradation.h"
#include "PageGenerator.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace mrzpages {

namespace {

struct Fonts
{
    QString ocrb;
    QString text;
};

const Fonts &LoadFonts()
{
    static Fonts fonts;
    static std::once_flag once;
    std::call_once(once, [] {
        auto load = [](const char *file, const char *fallback) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            const QStringList f = QFontDatabase::applicationFontFamilies(id);
            return f.isEmpty() ? QString::fromLatin1(fallback) : f.first();
        };
        fonts.ocrb = load("/usr/share/fonts/opentype/ocr-b/OCRB.otf", "Monospace");
        fonts.text = load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Sans");
    });
    return fonts;
}

} // namespace

QString OcrbFamily() { return LoadFonts().ocrb; }
QString TextFamily() { return LoadFonts().text; }

QString FontFamily(const QString &file)
{
    static std::mutex lock;
    static std::map<QString, QString> families;
    std::lock_guard guard(lock);
    auto it = families.find(file);
    if (it == families.end()) {
        const QStringList f = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
        it = families.emplace(file, f.isEmpty() ? QStringLiteral("Monospace") : f.first()).first;
    }
    return it->second;
}

// Coloured guilloche: interlaced sine bands in two hues, the way security
// print runs under the zone of many documents.
void DrawGuilloche(QPainter &p, const QRectF &band, double k, Random &rng)
{
    const int hue = rng.Int(0, 359);
    const int other = (hue + rng.Int(60, 180)) % 360;
    const QColor colours[] = {RandomHsv(rng, {hue, hue}, {40, 150}, {170, 235}), RandomHsv(rng, {other, other}, {40, 150}, {170, 235})};
    const int strands = rng.Int(8, 20);
    const double period = rng.Uniform(6, 20) * k, amp = band.height() * rng.Uniform(0.2, 0.6);
    for (int i = 0; i < strands; ++i) {
        p.setPen(QPen(colours[i % 2], std::max(1.0, rng.Uniform(0.05, 0.18) * k)));
        QPainterPath path;
        const double phase = 6.283 * i / strands, y0 = band.center().y() + rng.Uniform(-0.2, 0.2) * band.height();
        path.moveTo(band.left(), y0 + amp * std::sin(phase));
        for (double x = band.left(); x <= band.right(); x += 0.5 * k)
            path.lineTo(x, y0 + amp * std::sin((x - band.left()) / period * 6.283 + phase) *
                                    std::cos((x - band.left()) / (period * 7.3) + phase / 2));
        p.drawPath(path);
    }
}

void DrawWaves(QPainter &p, QSizeF card, const QColor &paper, double k, Random &rng)
{
    const QColor wave = paper.darker(rng.Int(108, 125));
    p.setPen(QPen(wave, std::max(1.0, 0.15 * k)));
    const int waves = rng.Int(10, 25);
    for (int i = 0; i < waves; ++i) {
        QPainterPath path;
        const double y0 = rng.Uniform(0, card.height()), amp = rng.Uniform(2, 8) * k, period = rng.Uniform(10, 40) * k;
        const double phase = rng.Uniform(0, 6.3);
        path.moveTo(0, y0);
        for (double x = 0; x <= card.width(); x += k)
            path.lineTo(x, y0 + amp * std::sin(x / period * 6.283 + phase));
        p.drawPath(path);
    }
}

void DrawPortrait(QPainter &p, const QRectF &photo, Random &rng)
{
    QLinearGradient g(photo.topLeft(), photo.bottomRight());
    g.setColorAt(0, QColor(rng.Int(120, 200), rng.Int(110, 180), rng.Int(100, 170)));
    g.setColorAt(1, QColor(rng.Int(40, 110), rng.Int(40, 100), rng.Int(40, 100)));
    p.fillRect(photo, g);
    p.setBrush(QColor(rng.Int(170, 230), rng.Int(130, 190), rng.Int(110, 160)));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(photo.x() + photo.width() * 0.25, photo.y() + photo.height() * 0.12, photo.width() * 0.5,
                         photo.height() * 0.5));
}

void DrawZoneRows(QPainter &p, const QStringList &lines, double scale, QPointF firstBaseline, double pitch, double lineStep,
                  double jitter, Random &rng)
{
    const double left = firstBaseline.x();
    for (int l = 0; l < lines.size(); ++l) {
        for (int i = 0; i < lines[l].size(); ++i) {
            p.save();
            p.translate(left + i * pitch + rng.Uniform(-jitter, jitter), firstBaseline.y() + l * lineStep + rng.Uniform(-jitter, jitter));
            p.scale(scale, scale);
            p.drawText(QPointF(0, 0), lines[l].mid(i, 1));
            p.restore();
        }
    }
}

} // namespace mrzpages
