#include "Degradation.h"

#include "PageGenerator.h"

#include <QBuffer>
#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace mrzpages {

namespace {

// One box pass of radius r over n values at stride `step` (channels interleaved in 32-bit pixels).
void BoxLine(uchar *data, int n, int step, int r, std::vector<int> &tmp)
{
    tmp.resize(size_t(n) * 3);
    for (int c = 0; c < 3; ++c) {
        int sum = 0;
        auto at = [&](int i) { return int(data[size_t(std::clamp(i, 0, n - 1)) * size_t(step) + size_t(c)]); };
        for (int i = -r; i <= r; ++i)
            sum += at(i);
        for (int i = 0; i < n; ++i) {
            tmp[size_t(i) * 3 + size_t(c)] = sum / (2 * r + 1);
            sum += at(i + r + 1) - at(i - r);
        }
    }
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c)
            data[size_t(i) * size_t(step) + size_t(c)] = uchar(tmp[size_t(i) * 3 + size_t(c)]);
}

} // namespace

void Blur(QImage &image, QRect region, double sigma)
{
    region &= image.rect();
    if (sigma < 0.3 || region.isEmpty())
        return;
    // Three box passes of width w approximate a Gaussian of sigma^2 = 3 (w^2 - 1) / 12.
    const int r = std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    std::vector<int> tmp;
    const qsizetype bpl = image.bytesPerLine();
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = region.top(); y <= region.bottom(); ++y)
            BoxLine(image.scanLine(y) + region.left() * 4, region.width(), 4, r, tmp);
        for (int x = region.left(); x <= region.right(); ++x)
            BoxLine(image.scanLine(region.top()) + x * 4, region.height(), int(bpl), r, tmp);
    }
}

void UnevenLight(QImage &image, double amount, double direction)
{
    if (amount <= 0)
        return;
    const double cx = std::cos(direction), cy = std::sin(direction);
    const double w = image.width(), h = image.height();
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double t = 0.5 + 0.5 * ((x / w - 0.5) * cx + (y / h - 0.5) * cy) * 1.414;
            const int f = int(256.0 * (1.0 - amount * std::clamp(t, 0.0, 1.0)));
            const QRgb p = line[x];
            line[x] = qRgb(qRed(p) * f >> 8, qGreen(p) * f >> 8, qBlue(p) * f >> 8);
        }
    }
}

void Noise(QImage &image, double sigma, Random &rng)
{
    if (sigma <= 0)
        return;
    // A table of Gaussian values, walked with a cheap generator, keeps big pages fast.
    std::vector<int> table(4096);
    for (int &v : table)
        v = int(std::lround(rng.Gaussian() * sigma));
    std::uint32_t state = std::uint32_t(rng.Int(1, 1 << 30));
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = table[state & 4095];
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + n, 0, 255), std::clamp(qGreen(p) + n, 0, 255),
                           std::clamp(qBlue(p) + n, 0, 255));
        }
    }
}

void Glare(QImage &image, QPointF centre, QSizeF radii, double angle, double peak)
{
    if (peak <= 0 || radii.isEmpty())
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    // Beyond three radii the patch adds less than one grey level.
    const double reach = 3.0 * std::max(radii.width(), radii.height());
    const QRect box = QRect(int(centre.x() - reach), int(centre.y() - reach), int(2 * reach), int(2 * reach)) & image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = box.left(); x <= box.right(); ++x) {
            const double dx = x - centre.x(), dy = y - centre.y();
            const double u = (dx * c + dy * s) / radii.width(), v = (-dx * s + dy * c) / radii.height();
            // A flat-topped fall-off: a reflection is a burnt-out core with a soft rim.
            const double w = peak * std::exp(-0.5 * std::pow(u * u + v * v, 1.5));
            if (w < 0.004)
                continue;
            const QRgb p = line[x];
            auto lift = [w](int v) { return int(v + (255 - v) * w); };
            line[x] = qRgb(lift(qRed(p)), lift(qGreen(p)), lift(qBlue(p)));
        }
    }
}

QColor RandomHsv(Random &rng, std::pair<int, int> hue, std::pair<int, int> saturation, std::pair<int, int> value)
{
    // One draw after the other: the order of a call's arguments is the compiler's choice.
    const int h = rng.Int(hue.first, hue.second);
    const int s = rng.Int(saturation.first, saturation.second);
    const int v = rng.Int(value.first, value.second);
    return QColor::fromHsv(h, s, v);
}

void Surface(QImage &image, Random &rng)
{
    const QColor base = RandomHsv(rng, {0, 359}, {20, 160}, {70, 210});
    image.fill(base);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = image.width(), h = image.height();
    const int kind = rng.Int(0, 2);
    if (kind == 0) {
        // Wood: long wavy grain lines, lighter and darker than the board.
        const int lines = rng.Int(40, 90);
        for (int i = 0; i < lines; ++i) {
            QPainterPath path;
            const double y0 = rng.Uniform(-0.1, 1.1) * h, amp = rng.Uniform(0.005, 0.03) * h;
            const double period = rng.Uniform(0.2, 0.8) * w, phase = rng.Uniform(0, 6.3);
            path.moveTo(0, y0);
            for (double x = 0; x <= w; x += std::max(2.0, w / 100))
                path.lineTo(x, y0 + amp * std::sin(x / period * 6.283 + phase));
            const QColor grain = rng.Chance(0.5) ? base.darker(rng.Int(110, 140)) : base.lighter(rng.Int(105, 125));
            p.setPen(QPen(grain, rng.Uniform(1, std::max(2.0, 0.006 * h))));
            p.drawPath(path);
        }
    } else if (kind == 1) {
        // Cloth: a fine weave of crossing threads.
        const double step = rng.Uniform(3, 8);
        p.setPen(QPen(base.darker(rng.Int(108, 125)), std::max(1.0, step / 3)));
        for (double x = 0; x < w; x += step)
            p.drawLine(QPointF(x, 0), QPointF(x, h));
        p.setPen(QPen(base.lighter(rng.Int(104, 118)), std::max(1.0, step / 3)));
        for (double y = 0; y < h; y += step)
            p.drawLine(QPointF(0, y), QPointF(w, y));
    } else {
        // A desk: a smooth gradient with a few stains and a pen's stroke.
        QLinearGradient g(0, 0, w, h);
        g.setColorAt(0, base.lighter(rng.Int(100, 130)));
        g.setColorAt(1, base.darker(rng.Int(100, 140)));
        p.fillRect(image.rect(), g);
        p.setPen(Qt::NoPen);
        for (int i = rng.Int(2, 6); i > 0; --i) {
            QColor stain = RandomHsv(rng, {0, 359}, {0, 120}, {60, 230});
            stain.setAlpha(rng.Int(30, 90));
            p.setBrush(stain);
            const double r = rng.Uniform(0.03, 0.15) * std::min(w, h);
            const double x = rng.Uniform(0, w), y = rng.Uniform(0, h);
            p.drawEllipse(QPointF(x, y), r, r * rng.Uniform(0.5, 1));
        }
    }
}

QByteArray JpegBytes(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

} // namespace mrzpages
