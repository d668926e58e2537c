#include "Degradation.h"

#include "PageGenerator.h"

#include <QBuffer>

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

QByteArray JpegBytes(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

} // namespace mrzpages
